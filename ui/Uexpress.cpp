// The Express page: a tree of objects and their signal channels whose checks bind and unbind, in
// a fixed order within each channel type, closing gaps on the way.
#include <algorithm>
#include <tuple>
#include <vector>

#include "Configmanager.h"
#include "Dockform.h"
#include "Objectstore.h"
#include "Umain.h"
#include "sysutils.h"

namespace {

constexpr size_t kTypeCapacity = 255;

uint16_t TypeOfKind(uint8_t kind) {
    switch (kind) {
    case 2: return 2;
    case 3: return 1;
    case 4: return 3;
    default: return 0;
    }
}

auto Key(const TParamItem* p) {
    return std::make_tuple(p->ParamType, p->Owner ? p->Owner->Number : 0, p->Ordinal);
}

// The type's channels in ascending index.
std::vector<TParamItem*> ChannelsOfType(configmanager* config, uint16_t type) {
    ELEMList list;
    config->GetChannelsOfType(&list, type);
    std::vector<TParamItem*> out;
    while (list.Newest) {
        ELEM* e = list.Newest;
        out.push_back(static_cast<TParamItemP*>(e)->Item);
        list.Remove(e);
        delete e;
    }
    return out;
}

void Rebind(TParamItem* p, uint16_t type, int index) {
    if (p->Owner) {
        p->Owner->BindParam(type, static_cast<uint8_t>(index), p);
    } else {
        p->SetAddress(type, static_cast<uint8_t>(index));
    }
}

} // namespace

void TMainForm::FillExpressTree() {
    TTreeNodes* items = gwctObjectList->Items();
    items->BeginUpdate();
    items->Clear();
    for (ELEM* e = ObjectSnapshot.Oldest; e; e = e->Newer) {
        TObjectItem* object = static_cast<TObjectItemP*>(e)->Item;
        TTreeNode* root = items->AddObject(nullptr, ObjectLineText(object), object);
        root->SetStateIndex(0);
        ELEMList signals;
        object->ListSignalParams(&signals, true);
        for (ELEM* s = signals.Oldest; s; s = s->Newer) {
            TParamItem* p = static_cast<TParamItemP*>(s)->Item;
            TTreeNode* node = items->AddChildObject(root, p->Name, p);
            bool bound = p->ChannelType != 0 || p->ChannelIndex != 0;
            node->SetStateIndex(bound ? csChecked : csUnchecked);
        }
        while (signals.Newest) {
            ELEM* s = signals.Newest;
            signals.Remove(s);
            delete s;
        }
    }
    items->EndUpdate();
    // No node is selected in the new tree: the grids show no channel, which may be gone.
    ClearChannelDetails(gwsgMainParamPropertiesExpress, gwsgSpecParamPropertiesExpress);
}

void TMainForm::gwctObjectListStateChanging(TObject*, TTreeNode* Node, TGwCheckState NewState,
                                            bool& AllowChange) {
    AllowChange = Config->HasExtendedFormat();
    if (!AllowChange) {
        AddMessage("Версия LOR-файла не поддерживает требуемые возможности. Для редактирования используйте "
                   "закладку \"Управление каналами\".",
                   kMessageInfo);
        mmMessageViewClick(this);
        return;
    }
    if (NewState != csChecked || !Node->Parent())
        return;
    auto* p = static_cast<TParamItem*>(Node->Data);
    std::vector<TParamItem*> bound = ChannelsOfType(Config, TypeOfKind(p->Kind));
    // A type holds indexes 1..255: the highest in use must leave room, dense or not.
    if (bound.size() >= kTypeCapacity || (!bound.empty() && bound.back()->ChannelIndex >= kTypeCapacity)) {
        AllowChange = false;
        AddMessage("Достигнуто максимально допустимое количество каналов", kMessageInfo);
        mmMessageViewClick(this);
    }
}

void TMainForm::gwctObjectListStateChange(TObject*, TTreeNode* Node, TGwCheckState NewState) {
    if (!Node->Parent())
        return;
    auto* p = static_cast<TParamItem*>(Node->Data);
    if (NewState == csChecked) {
        uint16_t type = TypeOfKind(p->Kind);
        std::vector<TParamItem*> list = ChannelsOfType(Config, type);
        int index = 1;
        size_t stop = list.size();
        for (size_t i = 0; i < list.size(); ++i) {
            if (Key(list[i]) > Key(p)) {
                stop = i;
                break;
            }
            index = list[i]->ChannelIndex + 1;
        }
        for (size_t i = list.size(); i-- > stop;)
            Rebind(list[i], type, list[i]->ChannelIndex + 1);
        Rebind(p, type, index);
    } else if (NewState == csUnchecked) {
        uint16_t type = p->ChannelType;
        int index = p->ChannelIndex;
        Rebind(p, 0, 0);
        for (TParamItem* q : ChannelsOfType(Config, type))
            if (q->ChannelIndex > index)
                Rebind(q, type, q->ChannelIndex - 1);
    }
    gwctObjectListClick(this);
}

void TMainForm::gwctObjectListClick(TObject*) {
    TTreeNode* node = gwctObjectList->Selected();
    if (!node || node->Level() != 1)
        return;
    ShowChannel(static_cast<TParamItem*>(node->Data), gwsgMainParamPropertiesExpress,
                gwsgSpecParamPropertiesExpress, true);
}

void TMainForm::gwctObjectListKeyUp(TObject* Sender, WORD&, TShiftState) { gwctObjectListClick(Sender); }

void TMainForm::gwctObjectListCustomDrawItem(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State,
                                             bool&) {
    TCanvas* canvas = Sender->Canvas();
    if (State.Contains(cdsSelected) || State.Contains(cdsFocused)) {
        canvas->Brush()->SetColor(clHighlight);
        canvas->Font()->SetColor(TColor(0xFFFFFF));
        return;
    }
    bool odd = Node->Index() % 2 != 0;
    TColor brush;
    if (Node->Level() == 0)
        brush = TColor(odd ? 0xEABBBB : 0xEADDDD);
    else if (Node->StateIndex() == csChecked)
        brush = TColor(odd ? 0xBBEABB : 0xDDEADD);
    else
        brush = TColor(odd ? 0xDDDDDD : 0xEEEEEE);
    canvas->Brush()->SetColor(brush);
    canvas->Font()->SetColor(clBlack);
}

void TMainForm::gwsgParamPropertiesExpressSelectCell(TObject* Sender, int, int ARow, bool& CanSelect) {
    auto* grid = static_cast<TGwStringGrid*>(Sender);
    if (!HoldsFocus(grid))
        return;
    TTreeNode* node = gwctObjectList->Selected();
    if (!node || node->Level() != 1)
        return;
    auto* p = static_cast<TParamItem*>(node->Data);
    if ((p->ChannelType == 0 && p->ChannelIndex == 0) ||
        (grid == gwsgSpecParamPropertiesExpress && (SetpointNames->Count() == 0 || !p->Owner)))
        return;
    TPanel* host = HostFor(grid, ARow);
    TNotifyEvent exit = [this](TObject* s) { gwsgParamPropertiesExpressExit(s); };
    TWinControl* editor = grid == gwsgSpecParamPropertiesExpress
                              ? p->Owner->CreateSetpointEditor(p, ARow, host, exit, nullptr)
                              : CreateChannelPropertyEditor(p, ARow, host, exit, nullptr);
    if (ShowInHost(host, editor))
        CanSelect = true;
}

void TMainForm::gwsgParamPropertiesExpressExit(TObject* Sender) {
    if (Sender == gwsgMainParamPropertiesExpress || Sender == gwsgSpecParamPropertiesExpress)
        return;
    ReleaseEditor(Sender);
    CloseExpressEditors();
}

void TMainForm::CloseExpressEditors() {
    FreeHosts(gwsgMainParamPropertiesExpress);
    FreeHosts(gwsgSpecParamPropertiesExpress);
    gwctObjectListClick(this);
}
