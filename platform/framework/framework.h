// Everything the rest of the system sees of the window framework.
#pragma once

#include "platform/framework/app.h"
#include "platform/framework/button.h"
#include "platform/framework/dc.h"
#include "platform/framework/dialog.h"
#include "platform/framework/file_dialog.h"
#include "platform/framework/gdi.h"
#include "platform/framework/resources.h"
#include "platform/framework/user.h"
#include "platform/framework/win_types.h"
#include "platform/framework/wnd.h"
#include "platform/framework/dib_surface.h"
