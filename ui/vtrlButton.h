// The program's own push button: a strip of four frames (normal, hover, pressed, disabled)
// with an optional caption, raising one event, Click (the inherited member: the runtime
// never raises it for a user control, only the button's own code does).
#pragma once

#include <map>
#include <string>

#include "forms/controls.h"

namespace qz {

// Stored properties of one instance; names compare without regard to case and a missing
// name reads as its default.
class PropertyBag {
public:
    void set(const std::string& name, std::string value);
    bool has(const std::string& name) const;
    std::string get(const std::string& name, const std::string& dflt) const;
    const std::map<std::string, std::string>& values() const { return values_; }

private:
    static std::string key(const std::string& name);
    std::map<std::string, std::string> values_;
};

class vtrlButton : public forms::UserControl {
public:
    vtrlButton(forms::Container* parent, std::string name, int index = -1);

    forms::Image ImgBack;
    forms::Label LblCaption;
    forms::Timer Timer1;

    // Properties, in the order of the public interface.
    forms::Color ForeColor() const { return LblCaption.foreColor(); }
    void setForeColor(forms::Color c);
    bool Enabled() const { return enabled(); }
    void setEnabled(bool v) override;
    const forms::Font& Font() const { return LblCaption.font(); }
    void setFont(const forms::Font& f);
    const std::string& Caption() const { return LblCaption.caption(); }
    void setCaption(const std::string& c);
    bool FontBold() const { return LblCaption.font().bold; }
    void setFontBold(bool b);
    std::string FontName() const { return LblCaption.font().name; }
    void setFontName(const std::string& n);
    double FontSize() const { return LblCaption.font().size; }
    void setFontSize(double s);
    bool FontUnderline() const { return LblCaption.font().underline; }
    void setFontUnderline(bool u);
    forms::PicturePtr MouseIcon() const { return mouseIcon(); }
    void setMouseIcon(forms::PicturePtr p);
    int MousePointer() const { return mousePointer(); }
    void setMousePointerValue(int v);
    forms::PicturePtr Picture() const { return ImgBack.picture(); }
    void setPicture(forms::PicturePtr p) override;

    // The frame shown, read back from the strip's position: 0 normal, 1 hover, 2 pressed,
    // 3 disabled; -1 when the strip sits elsewhere (after a resize).
    int frame() const;

    void UserControl_Resize();
    void UserControl_ReadProperties(const PropertyBag& bag);
    void UserControl_WriteProperties(PropertyBag& bag) const;
    void Timer1_Timer();
    void ImgBack_MouseDown(int button, int shift, int x, int y);
    void ImgBack_MouseMove(int button, int shift, int x, int y);
    void ImgBack_MouseUp(int button, int shift, int x, int y);

    void move(int left, int top, int width, int height) override;

private:
    // The container's font: the default of Font.
    forms::Font ambientFont() const;
    bool IsMouseOver() const;
    void showFrame(int k);
    void centreCaption();
    void pressedCaption();
};

}  // namespace qz
