// The user-defined object: properties, poll commands and their apply rules. Configuration model layer.
#include "Userobject.h"

#include "Devicetypes.h"
#include "Dbtables.h"
#include "Storewalk.h"
#include "actions.h"
#include "sysutils.h"

TUserObjItem::TUserObjItem(uint16_t number, ELEMList* channels, actionManager* store)
    : TObjectItem(number), Channels(channels), Store(store) {
    DisplayType = kUserObjectType;
    Tag = kUserObjectTag;
}

std::string TUserObjItem::GetDisplayName() { return "ID-" + IntToStr(Number) + " адрес " + Tag; }

void TUserObjItem::GetPropertyNames(TStrings* strings) {
    TObjectItem::GetPropertyNames(strings);
    strings->Add("Имя в базе данных");
    strings->Add("Обработка сообщений");
    strings->Add("Количество команд опроса");
}

void TUserObjItem::GetPollCommandNames(TStrings* strings) {
    strings->Clear();
    strings->Add("Команды опроса");
    strings->Add("Индентификатор");
    strings->Add("Подготовка команды опроса");
    strings->Add("Разбор ответа");
    strings->Add("Обработка отсутсвия ответа");
}

void TUserObjItem::GetPropertyText(int row, std::string& out) {
    switch (row) {
    case 2: out = Tag; break;
    case 3:
        if (MessageHandler == 0)
            out = "Нет";
        else if (T_Action* a = SubprogramById(Store, MessageHandler))
            out = SubprogramItemText(a);
        break;
    case 4: out = IntToStr(CommandCount()); break;
    default: TObjectItem::GetPropertyText(row, out);
    }
}

void TUserObjItem::GetCommandModeText(int n, std::string& out) {
    if (CommandCount() == 0) {
        out.clear();
        return;
    }
    int p = 0;
    for (ELEM* e = Commands.Oldest; e; e = e->Newer) {
        ++p;
        if (e == Selected)
            break;
    }
    if (!Selected) {
        out = n == 0 ? "Не выбрана" : "";
        return;
    }
    switch (n) {
    case 0: out = "Команда " + IntToStr(p); break;
    case 1: out = IntToStr(p); break;
    case 2: out = IntToStr(Selected->Prepare); break;
    case 3: out = IntToStr(Selected->Parse); break;
    case 4: out = IntToStr(Selected->NoAnswer); break;
    default: out.clear();
    }
}

bool TUserObjItem::ApplyTag(const std::string& text) {
    std::string tag = AnsiUpperCase(Trim(text)).substr(0, kObjectsMaxTag);
    if (tag.empty() || FindDeviceTypeByTag(tag))
        return false;
    Tag = tag;
    return true;
}

void TUserObjItem::ApplyMessageHandlerItem(int itemIndex) {
    if (itemIndex <= 0) {
        MessageHandler = 0;
        return;
    }
    std::vector<T_Action*> all = AllSubprograms(Store);
    MessageHandler = itemIndex <= static_cast<int>(all.size()) ? all[itemIndex - 1]->Id() : 0;
}

TCommandItem* TUserObjItem::AddCommand() {
    auto* c = new TCommandItem;
    c->Execute = 1;
    c->Number = static_cast<uint16_t>(Commands.Count + 1);
    Commands.Append(c);
    return c;
}

void TUserObjItem::PutCommandsBack(const std::vector<TCommandItem>& commands, int selected) {
    while (ELEM* e = Commands.Oldest) {
        Commands.Remove(e);
        delete static_cast<TCommandItem*>(e);
    }
    for (const TCommandItem& c : commands)
        Commands.Append(new TCommandItem(c));
    Selected = selected < 0 ? nullptr : CommandAt(selected);
}

void TUserObjItem::RenumberCommands() {
    uint16_t n = 0;
    for (ELEM* e = Commands.Oldest; e; e = e->Newer)
        static_cast<TCommandItem*>(e)->Number = ++n;
}

bool TUserObjItem::ApplyCommandCount(const std::string& text) {
    int64_t n = 0;
    // Command numbers are one byte in the database.
    if (!ReadNumberInRange(text, 0, kMaxKeyNumber, "Количество команд опроса", n))
        return false;
    while (static_cast<int>(Commands.Count) < n)
        AddCommand();
    while (static_cast<int>(Commands.Count) > n) {
        ELEM* first = Commands.Oldest;
        Commands.Remove(first);
        if (first == Selected)
            Selected = nullptr;
        delete static_cast<TCommandItem*>(first);
    }
    RenumberCommands();
    return true;
}

void TUserObjItem::ApplySelectedCommandItem(int itemIndex) {
    Selected = itemIndex <= 0 ? nullptr : CommandAt(itemIndex - 1);
}

void TUserObjItem::ApplyCommandId(int row, const std::string& text) {
    static const char* const kFields[] = {"Подготовка команды опроса", "Разбор ответа",
                                          "Обработка отсутсвия ответа"};
    int64_t id = 0;
    if (!Selected || row < 2 || row > 4 || !ReadNumberInRange(text, 0, 0xFFFF, kFields[row - 2], id))
        return;
    auto v = static_cast<uint16_t>(id);
    if (row == 2)
        Selected->Prepare = v;
    else if (row == 3)
        Selected->Parse = v;
    else if (row == 4)
        Selected->NoAnswer = v;
}
