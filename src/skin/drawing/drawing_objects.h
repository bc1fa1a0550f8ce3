// Every drawing object of the skin, for painters that use most of them.
#pragma once
#include "skin/drawing/draw_status.h"
#include "skin/drawing/skin_brush.h"
#include "skin/drawing/skin_font.h"
#include "skin/drawing/skin_graphics.h"
#include "skin/drawing/skin_image.h"
#include "skin/drawing/skin_memory_stream.h"
#include "skin/drawing/skin_path.h"
#include "skin/drawing/skin_pen.h"
#include "skin/drawing/skin_string_format.h"
#include "skin/drawing/skin_tool_tip.h"
