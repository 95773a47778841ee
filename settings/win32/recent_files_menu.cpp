// WIN_RLastFiles on Windows: the recent-file items carried into a menu and taken out again.
#include <windows.h>

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "settings/recent_menu_plan.h"
#include "zedll/win32/recent_files_menu.h"

namespace {

constexpr int kItemTextBytes = 151;  // up to 150 characters and the zero

CLS_String* CopyOf(const char* text) {
    return text != nullptr ? new (std::nothrow) CLS_String(text) : nullptr;
}

CLS_String* CopyOf(const CLS_String* text) {
    return text != nullptr ? new (std::nothrow) CLS_String(*text) : nullptr;
}

const char* TextOf(const CLS_String* s) {
    return s != nullptr && s->GetBuffer() != nullptr ? s->GetBuffer() : (s != nullptr ? "" : nullptr);
}

int FindItemText(HMENU menu, const char* text) {
    if (menu == nullptr || text == nullptr) return -1;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char item[kItemTextBytes] = {};
        ::GetMenuStringA(menu, i, item, kItemTextBytes, MF_BYPOSITION);
        if (std::strcmp(item, text) == 0) return i;
    }
    return -1;
}

BOOL InsertItem(HMENU menu, int position, UINT mask, UINT type, UINT id, HMENU submenu,
                const std::string* text) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = mask;
    info.fType = type;
    info.wID = id;
    info.hSubMenu = submenu;
    info.dwTypeData = text != nullptr ? const_cast<char*>(text->c_str()) : nullptr;
    return ::InsertMenuItemA(menu, static_cast<UINT>(position), TRUE, &info);
}

}  // namespace

WIN_RLastFiles::WIN_RLastFiles(const char* caption, HMENU menu, HWND window, const char* company,
                               const char* product, const char* version, UINT first_command,
                               int maximum)
    : OPT_RLastFiles(company, product, version, maximum), items_drawn_(0),
      first_command_(first_command), menu_(menu), window_(window), toolbar_menu_(nullptr),
      caption_(CopyOf(caption)), submenu_name_(nullptr), append_(1),
      insert_before_(zed::kNoCommand), insert_position_(0), drawn_menu_(nullptr), drawn_at_(-1) {}

WIN_RLastFiles::WIN_RLastFiles(WIN_TMenu* toolbar_menu, const char* submenu_name,
                               const char* caption, const char* company, const char* product,
                               const char* version, UINT first_command, int maximum)
    : OPT_RLastFiles(company, product, version, maximum), items_drawn_(0),
      first_command_(first_command), menu_(nullptr),
      window_(toolbar_menu != nullptr ? toolbar_menu->GetHandle() : nullptr),
      toolbar_menu_(toolbar_menu), caption_(CopyOf(caption)), submenu_name_(CopyOf(submenu_name)),
      append_(1), insert_before_(zed::kNoCommand), insert_position_(0), drawn_menu_(nullptr),
      drawn_at_(-1) {
    DrawMenu();
}

WIN_RLastFiles::WIN_RLastFiles(const WIN_RLastFiles& other)
    : OPT_RLastFiles(other), items_drawn_(0), first_command_(0), menu_(nullptr),
      window_(nullptr), toolbar_menu_(nullptr), caption_(nullptr), submenu_name_(nullptr),
      append_(1), insert_before_(zed::kNoCommand), insert_position_(0), drawn_menu_(nullptr),
      drawn_at_(-1) {
    CopySettings(other);
}

WIN_RLastFiles& WIN_RLastFiles::operator=(const WIN_RLastFiles& other) {
    if (this != &other) {
        OPT_RLastFiles::operator=(other);
        CopySettings(other);
    }
    return *this;
}

// The drawn items stay with the object that drew them: a copy starts with none of its own.
void WIN_RLastFiles::CopySettings(const WIN_RLastFiles& other) {
    delete caption_;
    delete submenu_name_;
    caption_ = CopyOf(other.caption_);
    submenu_name_ = CopyOf(other.submenu_name_);
    first_command_ = other.first_command_;
    menu_ = other.menu_;
    window_ = other.window_;
    toolbar_menu_ = other.toolbar_menu_;
    append_ = other.append_;
    insert_before_ = other.insert_before_;
    insert_position_ = other.insert_position_;
    items_drawn_ = 0;
    drawn_menu_ = nullptr;
    drawn_at_ = -1;
}

WIN_RLastFiles::~WIN_RLastFiles() {
    delete caption_;
    delete submenu_name_;
    caption_ = nullptr;
    submenu_name_ = nullptr;
}

int WIN_RLastFiles::AddFile(CLS_String path) {
    const int result = OPT_RLastFiles::AddFile(path);
    DrawMenu();
    return result;
}

int WIN_RLastFiles::DelFile(int index) {
    const int result = OPT_RLastFiles::DelFile(index);
    DrawMenu();
    return result;
}

int WIN_RLastFiles::DelFileCmd(UINT command) {
    const int index = static_cast<int>(command - first_command_);
    if (command < first_command_ || index < 0 || index >= GetNumFiles()) return 0;
    return DelFile(index);
}

char* WIN_RLastFiles::GetFileCmd(UINT command) {
    if (command < first_command_) return nullptr;
    CLS_String* entry = GetFile(static_cast<int>(command - first_command_));
    return entry != nullptr ? entry->GetBuffer() : nullptr;
}

int WIN_RLastFiles::SetInsertItem(UINT id) {
    if (id == 0 || id == zed::kNoCommand) {
        append_ = 1;
    } else {
        append_ = 0;
        insert_before_ = id;
    }
    return 1;
}

int WIN_RLastFiles::SetInsertItem(HMENU menu, const char* text) {
    const int position = FindItemText(menu, text);
    if (position < 0) return 0;
    const UINT id = ::GetMenuItemID(menu, position);
    append_ = 0;
    insert_before_ = id;
    insert_position_ = id == zed::kNoCommand ? position : 0;
    return 1;
}

void WIN_RLastFiles::HandleChange(HMENU menu, HWND window) {
    FreeMenu();
    if (toolbar_menu_ == nullptr) menu_ = menu;
    window_ = window;
    DrawMenu();
}

void WIN_RLastFiles::HandleChange(WIN_TMenu* toolbar_menu, const char* submenu_name,
                                  const char* caption, HWND window) {
    // Freed first, while caption and target are still those of the drawing.
    FreeMenu();
    delete caption_;
    delete submenu_name_;
    caption_ = CopyOf(caption);
    submenu_name_ = CopyOf(submenu_name);
    if (toolbar_menu_ == nullptr) menu_ = toolbar_menu != nullptr ? toolbar_menu->GetMenuHandle() : nullptr;
    window_ = window;
    DrawMenu();
}

HMENU WIN_RLastFiles::Target() {
    if (toolbar_menu_ == nullptr) return menu_;
    if (submenu_name_ != nullptr) return toolbar_menu_->GetSubMenu(TextOf(submenu_name_));
    return toolbar_menu_->GetMenuHandle();
}

void WIN_RLastFiles::DrawMenu() {
    FreeMenu();
    HMENU target = Target();
    if (target == nullptr || !::IsMenu(target)) return;
    const int count = ::GetMenuItemCount(target);
    std::vector<uint32_t> ids(count > 0 ? static_cast<size_t>(count) : 0);
    for (int i = 0; i < count; ++i) ids[static_cast<size_t>(i)] = ::GetMenuItemID(target, i);
    const zed::RecentInsertPoint point{append_ != 0, insert_before_, insert_position_};
    const int at = zed::RecentDrawPosition(point, ids.data(), count);
    std::vector<std::string> paths;
    for (int i = 0; i < GetNumFiles(); ++i) {
        const char* path = GetFile(i)->GetBuffer();
        paths.emplace_back(path != nullptr ? path : "");
    }
    HMENU popup = nullptr;
    for (const zed::RecentMenuStep& step :
         zed::PlanRecentDraw(at, TextOf(caption_), paths, first_command_)) {
        switch (step.kind) {
            case zed::RecentStepKind::Separator:
                InsertItem(target, step.position, MIIM_FTYPE, MFT_SEPARATOR, 0, nullptr, nullptr);
                break;
            case zed::RecentStepKind::Popup:
                popup = ::CreatePopupMenu();
                InsertItem(target, step.position, MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU,
                           MFT_STRING, 0, popup, &step.text);
                break;
            case zed::RecentStepKind::Entry:
                InsertItem(step.in_popup ? popup : target, step.position,
                           MIIM_FTYPE | MIIM_STRING | MIIM_ID, MFT_STRING, step.id, nullptr,
                           &step.text);
                break;
        }
    }
    if (window_ != nullptr) ::DrawMenuBar(window_);
    items_drawn_ = GetNumFiles() + 1;
    drawn_menu_ = target;
    drawn_at_ = append_ != 0 ? -1 : at;
}

void WIN_RLastFiles::FreeMenu() {
    if (items_drawn_ > 0 && drawn_menu_ != nullptr && ::IsMenu(drawn_menu_)) {
        const char* caption = TextOf(caption_);
        const int caption_at = FindItemText(drawn_menu_, caption);
        for (int position : zed::PlanRecentFree(items_drawn_, drawn_at_,
                                                ::GetMenuItemCount(drawn_menu_), caption_at,
                                                caption != nullptr))
            ::DeleteMenu(drawn_menu_, static_cast<UINT>(position), MF_BYPOSITION);
    }
    items_drawn_ = 0;
    drawn_menu_ = nullptr;
    drawn_at_ = -1;
}
