#include "ui/settings_dlg_base.h"

#include "config/product.h"
#include "config/settings_schema.h"
#include "i18n/language.h"
#include "i18n/string_table.h"
#include "res/resource_ids.h"
#include "ui/registry_error.h"
#include "ui/ui_seam.h"
#include "ui/web_site.h"
#include "wallpaper/wallpaper_window.h"

namespace ui_seam {

Api& Current() {
    static Api api;
    return api;
}

}  // namespace ui_seam

CSettingsDlgBase::CSettingsDlgBase() : CSettingsDlgBase(IDD_SETTINGS) {}

CSettingsDlgBase::CSettingsDlgBase(UINT templateId) : IDD(templateId), confirmer_(*this), display_(settings, confirmer_) {}

CSettingsDlgBase::~CSettingsDlgBase() = default;

HRESULT CSettingsDlgBase::ConfirmDevice(const D3DCAPS9&, DWORD, D3DFORMAT) { return S_OK; }

void CSettingsDlgBase::SetDefaults() {}

CSettingsDlgBase::CommandTiming CSettingsDlgBase::TimeCommand(UINT) { return CommandTiming::ActNow; }

void CSettingsDlgBase::DialogClosing() {}

void CSettingsDlgBase::DialogStaysOpen() {}

BOOL CSettingsDlgBase::InitDialog(HWND, LPARAM) {
    wallpaperMessage = ::RegisterWindowMessageW(kWallpaperMessageName);
    wallpaperWindow = nullptr;
    wallpaperWindow = FindWallpaperWindow();

    StringTable& table = StringTable::Create(IDR_STRING_TABLE);
    table.SelectLanguage(LanguageTagFromRegistry());
    table.SelectTextBlock(L"Screensaver Settings Dialog");
    table.TranslateWindow(m_hWnd);

    monitorList_ = GetDlgItem(IDC_MONITOR_LIST);
    blankScreens_ = GetDlgItem(IDC_BLANK_SCREENS);
    resolutionList_ = GetDlgItem(IDC_RESOLUTION_LIST);
    desktopResolution_ = GetDlgItem(IDC_DESKTOP_RESOLUTION);
    return TRUE;
}

void CSettingsDlgBase::LoadStoredSettings() {
    // A key that is missing or partly unreadable leaves the defaults for what
    // it does not hold; nothing is reported.
    LoadSettingsFromRegistry(settings);
}

bool CSettingsDlgBase::SaveSettings() {
    if (SaveSettingsToRegistry(settings)) return true;
    ShowRegistryWriteError(m_hWnd);
    return false;
}

void CSettingsDlgBase::VisitWebSite() {
    const StringTable* table = StringTable::Current();
    const std::wstring address = WebSiteAddress(table ? table->CurrentLanguageTag() : std::wstring());
    ui_seam::Current().shellExecute(nullptr, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

LRESULT CSettingsDlgBase::OnInitDialog(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    return InitDialog(reinterpret_cast<HWND>(wParam), lParam);
}

LRESULT CSettingsDlgBase::OnDestroy(UINT, WPARAM, LPARAM, BOOL&) {
    if (bigIcon_) ::DestroyIcon(bigIcon_);
    bigIcon_ = nullptr;
    ::PostQuitMessage(0);
    return 0;
}

LRESULT CSettingsDlgBase::OnClose(UINT, WPARAM, LPARAM, BOOL&) {
    CancelDialog();
    return 0;
}

LRESULT CSettingsDlgBase::OnCancel(WORD, WORD, HWND, BOOL&) {
    CancelDialog();
    return 0;
}

void CSettingsDlgBase::CancelDialog() {
    if (TimeCommand(IDCANCEL) != CommandTiming::ActNow) return;
    DialogClosing();
    RevertControls();
    EndDialog(0);
}

LRESULT CSettingsDlgBase::OnOK(WORD, WORD, HWND, BOOL&) {
    const CommandTiming timing = TimeCommand(IDOK);
    if (timing == CommandTiming::Dropped) return 0;
    DialogClosing();
    if (timing == CommandTiming::Deferred) return 0;
    ReadControls();
    // Closing would lose every change the user made: the dialog stays, with
    // the user's values, for another OK or a Cancel.
    if (!SaveSettings()) {
        DialogStaysOpen();
        return 0;
    }
    EndDialog(0);
    return 0;
}

LRESULT CSettingsDlgBase::OnVisitWebSite(WORD, WORD, HWND, BOOL&) {
    VisitWebSite();
    return 0;
}
