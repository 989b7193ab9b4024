// Part, state and property numbers of the platform's theme schema that the widget library uses.
// Constants only.
#pragma once

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

// Application theme properties (GetThemeAppProperties).
enum : unsigned {
    STAP_ALLOW_NONCLIENT = 1,
    STAP_ALLOW_CONTROLS = 2,
    STAP_ALLOW_WEBCONTENT = 4,
};

// Parts and states named directly by widgets.
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
enum : int { HP_HEADERITEM = 1, HP_HEADERITEMLEFT = 2, HP_HEADERITEMRIGHT = 3, HP_HEADERSORTARROW = 4 };
enum : int { HIS_NORMAL = 1, HIS_HOT = 2, HIS_PRESSED = 3 };
enum : int { CP_DROPDOWNBUTTON = 1 };
enum : int { SP_PANE = 1, SP_GRIPPERPANE = 2, SP_GRIPPER = 3 };
enum : int { PP_BAR = 1, PP_BARVERT = 2, PP_CHUNK = 3, PP_CHUNKVERT = 4 };
