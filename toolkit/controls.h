// The toolkit's standard controls in one include.
#pragma once

#include "toolkit/controls/horizontal_switch.h"
#include "toolkit/controls/kick_button.h"
#include "toolkit/controls/movie_bitmap.h"
#include "toolkit/controls/on_off_button.h"
#include "toolkit/controls/slider.h"
#include "toolkit/controls/splash_screen.h"
