#pragma once
// The program's window icon, painted in code (the same picture as tavi.svg,
// which the desktop menus use) so that no image plugin is needed.
#include <QIcon>

namespace tavi {

QIcon AppIcon();

}  // namespace tavi
