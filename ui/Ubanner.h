// The main window's banner and side caption, made apart from the other controls: the display and
// label units name enumerators that the common controls' header names too. User-interface layer.
#pragma once

class TComponent;
class TWinControl;
class TControl;

// The scrolling LED banner across the top; the caller aligns it.
TControl* MakeBanner(TComponent* owner, TWinControl* parent);
// The caption turned by 90 degrees in the left panel.
TControl* MakeSideLabel(TComponent* owner, TWinControl* parent);
