#include "skin/drawing/draw_status.h"

namespace corvalin {

Gdiplus::Status LastDrawStatus = Gdiplus::Ok;

}  // namespace corvalin
