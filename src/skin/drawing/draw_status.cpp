#include "skin/drawing/draw_status.h"

namespace corvalin {

thread_local Gdiplus::Status LastDrawStatus = Gdiplus::Ok;

}  // namespace corvalin
