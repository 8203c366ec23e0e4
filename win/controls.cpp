#include "win/controls.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "win/column_widths.h"
#include "win/resources.h"
#include "win/text.h"
#include "win/window.h"

namespace tarnwick {

namespace {

// A text that a control hands out in two steps: its length, then a copy into a
// buffer of that length; `copy` returns how many characters it copied.
template <typename Copy>
std::wstring FetchWideText(LRESULT length, Copy copy) {
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = copy(text.data(), static_cast<int>(length) + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

template <typename Copy>
std::string FetchText(LRESULT length, Copy copy) {
    return Narrow(FetchWideText(length, copy));
}

}  // namespace

std::string CWnd::GetWindowText() const {
    return FetchText(GetWindowTextLengthW(m_hWnd),
                     [this](wchar_t* buffer, int size) { return ::GetWindowTextW(m_hWnd, buffer, size); });
}

bool CWnd::GetWindowTextExactly(std::string& text) const {
    return NarrowExactly(FetchWideText(GetWindowTextLengthW(m_hWnd), [this](wchar_t* buffer, int size) {
                             return ::GetWindowTextW(m_hWnd, buffer, size);
                         }),
                         text);
}

void CWnd::SetWindowText(const std::string& text) { SetWindowTextW(m_hWnd, Wide(text).c_str()); }

int CComboBox::AddString(const std::string& text) {
    std::wstring wide = Wide(text);
    return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str())));
}

std::string CComboBox::GetLBText(int index) const {
    return FetchText(Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index)), [this, index](wchar_t* buffer, int) {
        return Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
    });
}

std::string CComboBox::SelectedText() const {
    const int selected = GetCurSel();
    return selected < 0 ? std::string() : GetLBText(selected);
}

void CTabCtrl::InsertItem(int index, const std::string& text) {
    std::wstring wide = Wide(text);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = wide.data();
    Send(TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

RECT CTabCtrl::DisplayArea() const {
    RECT area{};
    GetClientRect(m_hWnd, &area);
    Send(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    return area;
}

void CSpinButtonCtrl::SetStep(UINT step) {
    UDACCEL acceleration{0, step};
    Send(UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&acceleration));
}

bool ShowOpenFileDialog(HWND owner, const FileDialogOptions& options, std::string& path) {
    std::wstring chosen;
    if (!ShowOpenFileDialog(owner, options, chosen)) return false;
    path = Narrow(chosen);
    return true;
}

bool ShowOpenFileDialog(HWND owner, const FileDialogOptions& options, std::wstring& path) {
    // The filter's bars become the NUL separators that the system expects.
    std::wstring filter = Wide(options.filter);
    for (wchar_t& c : filter) {
        if (c == L'|') c = L'\0';
    }
    const std::wstring title = Wide(options.title);
    const std::wstring extension = Wide(options.defaultExtension);
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring initial = Wide(options.initialName);
    initial.copy(file.data(), std::min(initial.size(), file.size() - 1));
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = extension.c_str();
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER;
    if (!GetOpenFileNameW(&dialog)) return false;
    path = file.data();
    return true;
}

int CListCtrl::InsertColumn(int column, const std::string& heading, int format, int width) {
    std::wstring text = Wide(heading);
    LVCOLUMNW info{};
    info.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    info.fmt = format;
    info.cx = width;
    info.pszText = text.data();
    info.iSubItem = column;
    return static_cast<int>(Send(LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&info)));
}

void CListCtrl::InsertColumns(std::span<const ColumnLayout> columns) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const ColumnLayout& column = columns[i];
        InsertColumn(static_cast<int>(i), column.heading, column.format, column.widthFactor * GetStringWidth("X"));
    }
}

void CListCtrl::FitColumns(std::span<const ColumnLayout> columns) {
    const int scrollBarWidth = MetricAt(SM_CXVSCROLL, DpiOf(m_hWnd));
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const bool barShown = (GetWindowLongW(m_hWnd, GWL_STYLE) & WS_VSCROLL) != 0;
    const int room = client.right - (barShown ? 0 : scrollBarWidth);
    // The list measures its values itself (with the check boxes and its own margins);
    // a heading gets the header's margins, about the width of two "X" in any font size.
    const int headingMargin = 2 * GetStringWidth("X");
    std::vector<ColumnNeed> needs;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        Send(LVM_SETCOLUMNWIDTH, i, LVSCW_AUTOSIZE);
        const int values = static_cast<int>(Send(LVM_GETCOLUMNWIDTH, i));
        needs.push_back({columns[i].widthFactor, std::max(values, GetStringWidth(columns[i].heading) + headingMargin),
                         columns[i].freeText});
    }
    const std::vector<int> widths = ShareColumnWidths(needs, room);
    for (std::size_t i = 0; i < columns.size(); ++i) Send(LVM_SETCOLUMNWIDTH, i, widths[i]);
}

void CListCtrl::SetExtendedStyle(DWORD style) { Send(LVM_SETEXTENDEDLISTVIEWSTYLE, ~0u, style); }

int CListCtrl::GetStringWidth(const std::string& text) const {
    std::wstring wide = Wide(text);
    return static_cast<int>(Send(LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(wide.c_str())));
}

int CListCtrl::GetItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }

int CListCtrl::InsertItem(int row, const std::string& text) {
    std::wstring wide = Wide(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = wide.data();
    return static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

bool CListCtrl::SetItemText(int row, int column, const std::string& text) {
    std::wstring wide = Wide(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    return Send(LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)) != 0;
}

std::string CListCtrl::GetItemText(int row, int column) const {
    // The list tells how much it copied; grow until the text fits, however long
    // (a save file's line has no length limit, and a cut text would be saved cut).
    std::vector<wchar_t> buffer(256);
    constexpr std::size_t kLargest = std::size_t{1} << 30;  // what cchTextMax, an int, can carry
    for (;;) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        LRESULT length = Send(LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        if (length < static_cast<LRESULT>(buffer.size()) - 1 || buffer.size() >= kLargest) {
            return Narrow(std::wstring(buffer.data(), static_cast<std::size_t>(length)));
        }
        buffer.resize(buffer.size() * 4);
    }
}

bool CListCtrl::SetItemData(int row, LPARAM data) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = data;
    return Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != 0;
}

LPARAM CListCtrl::GetItemData(int row) const {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

bool CListCtrl::GetCheck(int row) const {
    LRESULT state = Send(LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
    return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void CListCtrl::SetCheck(int row, bool checked) {
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    Send(LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

bool CListCtrl::DeleteItem(int row) { return Send(LVM_DELETEITEM, row) != 0; }

bool CListCtrl::DeleteAllItems() { return Send(LVM_DELETEALLITEMS) != 0; }

int CListCtrl::GetSelected() const {
    return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CListCtrl::SelectAndFocus(int row) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    Send(LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

int CListCtrl::GetHeaderColumnCount() const {
    HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
    return header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

bool CListCtrl::SortItems(PFNLVCOMPARE compare, LPARAM context) {
    return Send(LVM_SORTITEMS, static_cast<WPARAM>(context), reinterpret_cast<LPARAM>(compare)) != 0;
}

CMenu::CMenu(unsigned resourceId) : m_menu(LoadMenuResource(resourceId)) {}

CMenu::~CMenu() {
    if (m_menu) DestroyMenu(m_menu);
}

void CMenu::TrackPopup(int position, UINT flags, POINT at, HWND owner, std::span<const unsigned> marked) const {
    if (HMENU popup = m_menu ? GetSubMenu(m_menu, position) : nullptr) {
        for (unsigned id : marked) CheckMenuRadioItem(popup, id, id, id, MF_BYCOMMAND);
        TrackPopupMenu(popup, flags, at.x, at.y, 0, owner, nullptr);
    }
}

int CListBox::GetCount() const { return static_cast<int>(Send(LB_GETCOUNT)); }

void CListBox::DeleteString(int index) { Send(LB_DELETESTRING, index); }

void CListBox::InsertString(int index, const std::string& text) {
    std::wstring wide = Wide(text);
    Send(LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(wide.c_str()));
}

void CListBox::ResetContent() { Send(LB_RESETCONTENT); }

std::string CListBox::GetText(int index) const {
    return FetchText(Send(LB_GETTEXTLEN, index), [this, index](wchar_t* buffer, int) {
        return Send(LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer));
    });
}

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, unsigned flags) {
    return MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), flags);
}

}  // namespace tarnwick
