// The installed kit of in-place editors and its shorthands. Configuration model layer.
#include "Editorkit.h"

#include <map>
#include <utility>

namespace {

TEditorKit& Installed() {
    static TEditorKit kit;
    return kit;
}

TRefusalCatcher& Catcher() {
    static TRefusalCatcher catcher;
    return catcher;
}

std::map<const void*, std::function<void()>>& Held() {
    static std::map<const void*, std::function<void()>> held;
    return held;
}

} // namespace

void HoldRefusedEdit(const void* edit, std::function<void()> putBack) {
    if (putBack)
        Held()[edit] = std::move(putBack);
    else
        Held().erase(edit);
}

void PutBackRefusedEdits() {
    while (!Held().empty()) {
        std::function<void()> putBack = std::move(Held().begin()->second);
        Held().erase(Held().begin());
        putBack();
    }
}

TRefusalCatcher SetRefusalCatcher(TRefusalCatcher catcher) {
    return std::exchange(Catcher(), std::move(catcher));
}

bool CatchRefusal(const std::string& text) {
    if (!Catcher())
        return false;
    Catcher()(text);
    return true;
}

TEditorKit SetEditorKit(TEditorKit kit) { return std::exchange(Installed(), std::move(kit)); }

TWinControl* BuildEditor(TWinControl* host, TEditorDef editorDef, TNotifyEvent exitEvent) {
    const TEditorKit& kit = Installed();
    return kit.Build ? kit.Build(host, std::move(editorDef), std::move(exitEvent)) : nullptr;
}

std::string EditorText(TObject* sender) {
    const TEditorKit& kit = Installed();
    return kit.Text ? kit.Text(sender) : std::string();
}

int EditorItem(TObject* sender) {
    const TEditorKit& kit = Installed();
    return kit.Item ? kit.Item(sender) : -1;
}

bool EditorCheck(TObject* sender, int& bit, bool& on) {
    const TEditorKit& kit = Installed();
    return kit.Check && kit.Check(sender, bit, on);
}

TNotifyEvent EditorHostExit(TWinControl* host) {
    const TEditorKit& kit = Installed();
    return kit.HostExit ? kit.HostExit(host) : TNotifyEvent();
}

TWinControl* MakeEdit(TWinControl* host, const std::string& text, TNotifyEvent exitEvent,
                      TNotifyEvent apply) {
    return BuildEditor(host, {TEditorKind::Edit, text, {}, 0, 0, std::move(apply)}, std::move(exitEvent));
}

TWinControl* MakeChoice(TWinControl* host, std::vector<std::string> items, const std::string& selected,
                        TNotifyEvent exitEvent, TNotifyEvent apply) {
    return BuildEditor(host, {TEditorKind::Choice, selected, std::move(items), 0, 0, std::move(apply)},
                       std::move(exitEvent));
}

TWinControl* MakeChoice(TWinControl* host, std::vector<std::string> items, int selected,
                        TNotifyEvent exitEvent, TNotifyEvent apply) {
    return BuildEditor(host, {TEditorKind::Choice, "", std::move(items), 0, 0, std::move(apply), selected},
                       std::move(exitEvent));
}

TWinControl* MakeCombo(TWinControl* host, std::vector<std::string> items, const std::string& text,
                       TNotifyEvent exitEvent, TNotifyEvent apply) {
    return BuildEditor(host, {TEditorKind::Combo, text, std::move(items), 0, 0, std::move(apply)},
                       std::move(exitEvent));
}

TWinControl* MakeButton(TWinControl* host, const std::string& caption, TNotifyEvent exitEvent,
                        TNotifyEvent click) {
    return BuildEditor(host, {TEditorKind::Button, caption, {}, 0, 0, std::move(click)},
                       std::move(exitEvent));
}

TWinControl* MakeBitPanel(TWinControl* host, int count, unsigned bits, TNotifyEvent exitEvent,
                          TNotifyEvent click) {
    return BuildEditor(host, {TEditorKind::BitPanel, "", {}, count, bits, std::move(click)},
                       std::move(exitEvent));
}
