#pragma once
// Pictures named as the data folder names them.
#include <string>

#include "forms/types.h"

namespace testsupport {

// The id of a picture: its file name without the folder and the ".mxy".
inline std::string pictureId(const forms::PicturePtr& p) {
    if (!p) return "";
    std::string name = p->path.substr(p->path.find_last_of("/\\") + 1);
    return name.size() > 4 ? name.substr(0, name.size() - 4) : name;
}

}  // namespace testsupport
