#include "app/program.h"

#include <cstdio>

#include "app/FrmAbout.h"
#include "app/FrmStart.h"
#include "demo/frmYanShi.h"
#include "home/FrmFengmian.h"
#include "net/FrmUpdata.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "platform/textfile.h"
#include "session/FrmCZTS.h"
#include "session/FrmChengji.h"
#include "session/FrmEnd1.h"
#include "session/FrmEnd2.h"
#include "session/FrmIME.h"
#include "session/FrmLogon.h"
#include "session/FrmPicture.h"
#include "session/FrmTm.h"
#include "simwindow/FrmMain.h"
#include "ui/FrmQZMSGBOX.h"

namespace qz {

Program::Program(const Services& services) : rt(*services.host), svc(services) {
    g.ProgramFolder = svc.programFolder;
    frmStart_ = std::make_unique<forms::FormSlot<FrmStart>>(rt, [this] { return std::make_unique<FrmStart>(*this); });
    frmFengmian_ =
        std::make_unique<forms::FormSlot<FrmFengmian>>(rt, [this] { return std::make_unique<FrmFengmian>(*this); });
    frmQZMSGBOX_ =
        std::make_unique<forms::FormSlot<FrmQZMSGBOX>>(rt, [this] { return std::make_unique<FrmQZMSGBOX>(*this); });
    frmAbout_ = std::make_unique<forms::FormSlot<FrmAbout>>(rt, [this] { return std::make_unique<FrmAbout>(*this); });
    frmTm_ = std::make_unique<forms::FormSlot<FrmTm>>(rt, [this] { return std::make_unique<FrmTm>(*this); });
    frmMain_ = std::make_unique<forms::FormSlot<FrmMain>>(rt, [this] { return std::make_unique<FrmMain>(*this); });
    frmPicture_ =
        std::make_unique<forms::FormSlot<FrmPicture>>(rt, [this] { return std::make_unique<FrmPicture>(*this); });
    frmLogon_ = std::make_unique<forms::FormSlot<FrmLogon>>(rt, [this] { return std::make_unique<FrmLogon>(*this); });
    frmEnd1_ = std::make_unique<forms::FormSlot<FrmEnd1>>(rt, [this] { return std::make_unique<FrmEnd1>(*this); });
    frmEnd2_ = std::make_unique<forms::FormSlot<FrmEnd2>>(rt, [this] { return std::make_unique<FrmEnd2>(*this); });
    frmChengji_ =
        std::make_unique<forms::FormSlot<FrmChengji>>(rt, [this] { return std::make_unique<FrmChengji>(*this); });
    frmCZTS_ = std::make_unique<forms::FormSlot<FrmCZTS>>(rt, [this] { return std::make_unique<FrmCZTS>(*this); });
    frmIME_ = std::make_unique<forms::FormSlot<FrmIME>>(rt, [this] { return std::make_unique<FrmIME>(*this); });
    frmYanShi_ = std::make_unique<forms::FormSlot<PlayerForm>>(rt, [this] { return std::make_unique<PlayerForm>(*this); });
    frmUpdata_ = std::make_unique<forms::FormSlot<FrmUpdata>>(rt, [this] { return std::make_unique<FrmUpdata>(*this); });
}

Program::~Program() {
    frmUpdata_.reset();
    frmYanShi_.reset();
    frmIME_.reset();
    frmCZTS_.reset();
    frmChengji_.reset();
    frmEnd2_.reset();
    frmEnd1_.reset();
    frmLogon_.reset();
    frmPicture_.reset();
    frmMain_.reset();
    frmTm_.reset();
    frmQZMSGBOX_.reset();
    frmAbout_.reset();
    frmFengmian_.reset();
    frmStart_.reset();
}

FrmStart& Program::frmStart() { return frmStart_->get(); }
FrmFengmian& Program::frmFengmian() { return frmFengmian_->get(); }
FrmQZMSGBOX& Program::frmQZMSGBOX() { return frmQZMSGBOX_->get(); }
FrmAbout& Program::frmAbout() { return frmAbout_->get(); }
FrmTm& Program::frmTm() { return frmTm_->get(); }
FrmMain& Program::frmMain() { return frmMain_->get(); }
FrmPicture& Program::frmPicture() { return frmPicture_->get(); }
FrmLogon& Program::frmLogon() { return frmLogon_->get(); }
FrmEnd1& Program::frmEnd1() { return frmEnd1_->get(); }
FrmEnd2& Program::frmEnd2() { return frmEnd2_->get(); }
FrmChengji& Program::frmChengji() { return frmChengji_->get(); }
FrmCZTS& Program::frmCZTS() { return frmCZTS_->get(); }
FrmIME& Program::frmIME() { return frmIME_->get(); }
PlayerForm& Program::frmYanShi() { return frmYanShi_->get(); }
FrmUpdata& Program::frmUpdata() { return frmUpdata_->get(); }
FrmTm* Program::loadedFrmTm() const { return frmTm_->peek(); }
FrmMain* Program::loadedFrmMain() const { return frmMain_->peek(); }
FrmPicture* Program::loadedFrmPicture() const { return frmPicture_->peek(); }
FrmLogon* Program::loadedFrmLogon() const { return frmLogon_->peek(); }
FrmEnd1* Program::loadedFrmEnd1() const { return frmEnd1_->peek(); }
FrmEnd2* Program::loadedFrmEnd2() const { return frmEnd2_->peek(); }
FrmChengji* Program::loadedFrmChengji() const { return frmChengji_->peek(); }
FrmCZTS* Program::loadedFrmCZTS() const { return frmCZTS_->peek(); }
FrmIME* Program::loadedFrmIME() const { return frmIME_->peek(); }
PlayerForm* Program::loadedFrmYanShi() const { return frmYanShi_->peek(); }

void Program::run() {
    // The platform creates the start-up window and shows it once its load has returned.
    rt.run([this] { frmStart().show(); });
}

forms::OnError Program::reporting(const std::string& tag, bool firstOnly) {
    return forms::OnError(tag, [this, firstOnly, reported = false](const std::string& t,
                                                                   const platform::VbError& e) mutable {
        if (reported && firstOnly) return;
        reported = true;
        reportFault(t, e);
    });
}

void Program::reportFault(const std::string& tag, const platform::VbError& e) {
    g.ErrorProcName = tag;
    g.ErrorNumber = e.number;
    g.ErrorDescription = e.what();
    ReportError(g.ErrorProcName, g.ErrorNumber, g.ErrorDescription);
}

forms::PicturePtr Program::LoadPicture(const std::string& path) { return rt.host().loadPicture(path); }

forms::PicturePtr Program::SkinPicture(const std::string& id) { return LoadPicture(g.DataDir + id + ".mxy"); }

platform::KeyboardLayouts& Program::keyboard() { return svc.keyboard ? *svc.keyboard : noKeyboard_; }

platform::LocalTime Program::localNow() const { return svc.localTime ? svc.localTime() : platform::systemLocalTime(); }

platform::RandomNumbers& Program::random() { return svc.random ? *svc.random : systemRandom_; }

void Program::computeScale() {
    g.ScaleX = rt.host().twipsPerPixelX() / 15.0;
    g.ScaleY = rt.host().twipsPerPixelY() / 15.0;
}

int Program::sx(double design) const { return platform::clng(design * g.ScaleX); }
int Program::sy(double design) const { return platform::clng(design * g.ScaleY); }

bool Program::takeInstanceLock() {
    const std::string dir = svc.runtimeDir.empty() ? platform::userRuntimeDir() : svc.runtimeDir;
    const std::string path = dir.empty() ? std::string() : platform::instanceLockPath(dir, g.ProgramFolder);
    const platform::LockResult r = instanceLock_.acquire(path);
    if (r == platform::LockResult::Unavailable) {
        // A lock is a convenience: without one this copy runs all the same.
        std::fprintf(stderr, "The single-instance lock %s could not be taken; starting without it.\n",
                     path.empty() ? "(no runtime directory)" : path.c_str());
    }
    return r != platform::LockResult::HeldByAnother;
}

bool Program::takeFolderLock() {
    const std::string ksdata = platform::resolvePath(platform::joinPath(g.ProgramFolder, "ksdata"));
    // Two copies on a folder without ksdata yet must meet as well.
    if (!platform::dirExists(ksdata)) platform::makeDir(ksdata);
    const std::string path = platform::joinPath(ksdata, FolderLockName);
    // Readable by all, so that a copy of another user finds it held.
    const platform::LockResult r = folderLock_.acquire(path, 0644);
    if (r == platform::LockResult::Unavailable)
        std::fprintf(stderr, "The program folder's lock %s could not be taken; starting without it.\n", path.c_str());
    return r != platform::LockResult::HeldByAnother;
}

}  // namespace qz
