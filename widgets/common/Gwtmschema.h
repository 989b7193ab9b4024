// Part, state and property numbers of the platform's theme schema that the widget library uses.
// Constants only.
#pragma once

#include "uxtheme.h"

// Properties (GetThemeColor and friends).
enum : int {
    TMT_BORDERCOLOR = 3801,
    TMT_FILLCOLOR = 3802,
    TMT_TEXTCOLOR = 3803,
    TMT_EDGELIGHTCOLOR = 3804,
    TMT_EDGESHADOWCOLOR = 3806,
    TMT_EDGEFILLCOLOR = 3808,
    TMT_GRADIENTCOLOR1 = 3810,
    TMT_GRADIENTCOLOR2 = 3811,
    TMT_FILLCOLORHINT = 3821,
    TMT_BORDERCOLORHINT = 3822,
    TMT_GLOWCOLOR = 3816,
};

// Parts and states named directly by widgets (the header's, which the platform's header draws
// with, come from uxtheme.h).
enum : int { BP_PUSHBUTTON = 1, BP_RADIOBUTTON = 2, BP_CHECKBOX = 3, BP_GROUPBOX = 4, BP_USERBUTTON = 5 };
enum : int { CBS_UNCHECKEDNORMAL = 1, CBS_CHECKEDNORMAL = 5, CBS_MIXEDNORMAL = 9 };
enum : int { EP_EDITTEXT = 1, EP_CARET = 2 };
enum : int {
    ETS_NORMAL = 1,
    ETS_HOT = 2,
    ETS_SELECTED = 3,
    ETS_DISABLED = 4,
    ETS_FOCUSED = 5,
    ETS_READONLY = 6
};
enum : int { CP_DROPDOWNBUTTON = 1 };
enum : int { SP_PANE = 1, SP_GRIPPERPANE = 2, SP_GRIPPER = 3 };
enum : int { PP_BAR = 1, PP_BARVERT = 2, PP_CHUNK = 3, PP_CHUNKVERT = 4 };
