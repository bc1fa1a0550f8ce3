// Everything the program's own code uses from the application shell.
#pragma once
#include "shell/build_settings.h"
#include "shell/control_id.h"
#include "shell/conversions.h"
#include "shell/download.h"
#include "shell/events.h"
#include "shell/form_ids.h"
#include "shell/hot_keys.h"
#include "shell/loaded_windows.h"
#include "shell/property_value.h"
#include "shell/runtime.h"
