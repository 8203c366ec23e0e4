// "Tarnwick - オプション": every option on three pages of a tab control (一般,
// 監視, ファイル). The pages are child dialogs that copy between their controls and
// one OptionsForm; the OK button's decisions are the portable AcceptOptions, which
// changes the settings only when it can write them, so Cancel is the framework's.
#pragma once

#include <array>

#include "core/options.h"
#include "ui/control_adapters.h"
#include "win/dialog.h"

namespace tarnwick {

// A page: created inside the tab control; OK and Cancel that reach it do nothing.
class COptionPage : public CDialog {
public:
    COptionPage(unsigned templateId, OptionsForm& form) : CDialog(templateId, nullptr), m_form(form) {}
    // Creates the page, not shown, on the tab's background.
    void CreateIn(CTabCtrl& tabs);
    // Lays the page out again for the options dialog's new DPI, in its new font.
    void Rescale(UINT dpi, HFONT font) { m_layout.Apply(dpi, font); }
    // Copies the page's controls into the form.
    virtual void Read() = 0;

protected:
    void OnOK() override {}
    void OnCancel() override {}
    OptionsForm& m_form;

private:
    NestedLayout m_layout;
};

class CGeneralPage final : public COptionPage {
public:
    explicit CGeneralPage(OptionsForm& form);
    void Read() override;

private:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    CButton m_runPanelView, m_topmostWindow, m_desktopShortcut, m_startupShortcut;
};

class CWatchPage final : public COptionPage {
public:
    explicit CWatchPage(OptionsForm& form);
    void Read() override;

private:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    CEdit m_cycle, m_retries;
    CSpinButtonCtrl m_cycleSpin, m_retrySpin;
    CButton m_addWatchMode, m_targetAllApp;
};

class CFilePage final : public COptionPage {
public:
    explicit CFilePage(OptionsForm& form);
    void Read() override;

private:
    static const MapEntry<CFilePage> kMessageMap[];
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    bool Dispatch(const MessageEvent& event, std::intptr_t& result) override;
    std::intptr_t OnBrowse(const MessageEvent& event);
    CEdit m_saveFile, m_filesFolder;
    CButton m_autoSave, m_autoLoad;
};

class COptionDlg final : public CDialog {
public:
    COptionDlg(HWND owner, AppSettings& settings, const OsVersion& version, OptionsEffects& effects);

private:
    static const MapEntry<COptionDlg> kMessageMap[];

    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool Dispatch(const MessageEvent& event, std::intptr_t& result) override;
    // The pages sit inside the tab control, out of the dialog manager's reach.
    void OnDpiSettled() override;
    std::intptr_t OnTabChange(const MessageEvent& event);
    void ShowPage(int index);
    // Puts the pages in the tab's display area, which a new DPI moves.
    void PlacePages();
    std::array<COptionPage*, 3> Pages() { return {&m_general, &m_watch, &m_file}; }

    AppSettings& m_settings;
    OptionsEffects& m_effects;
    OptionsForm m_form;
    CTabCtrl m_tabs;
    CGeneralPage m_general;
    CWatchPage m_watch;
    CFilePage m_file;
    WindowMessageBoxes m_boxes;
};

}  // namespace tarnwick
