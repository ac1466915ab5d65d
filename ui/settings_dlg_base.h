// The settings dialog's base: the settings tree, the display inventory, the
// monitor group and the life cycle of the dialog (OK, Cancel, Close, the web
// site). The product's dialog derives from it and supplies the option
// controls and the defaults.
#pragma once

#include "config/node.h"
#include "display/device_confirmer.h"
#include "display/display_configuration.h"
#include "framework/dialog_impl.h"
#include "res/settings_dialog_ids.h"

#include <cstdint>

class CSettingsDlgBase : public framework::CDialogImpl<CSettingsDlgBase> {
public:
    // The dialog template: IDD_SETTINGS for the program.
    const UINT IDD;

    CSettingsDlgBase();
    ~CSettingsDlgBase() override;

    BEGIN_MSG_MAP(CSettingsDlgBase)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_CLOSE, OnClose)
        COMMAND_HANDLER(IDCANCEL, BN_CLICKED, OnCancel)
        COMMAND_HANDLER(IDOK, BN_CLICKED, OnOK)
        COMMAND_HANDLER(IDC_DESKTOP_RESOLUTION, BN_CLICKED, OnDesktopResolutionClicked)
        COMMAND_HANDLER(IDC_RESOLUTION_LIST, CBN_SELENDOK, OnResolutionChosen)
        COMMAND_HANDLER(IDC_VISIT_WEB_SITE, BN_CLICKED, OnVisitWebSite)
        COMMAND_HANDLER(IDC_MONITOR_LIST, CBN_SELENDOK, OnMonitorChosen)
        COMMAND_HANDLER(IDC_BLANK_SCREENS, BN_CLICKED, OnBlankScreensClicked)
    END_MSG_MAP()

    // Reads the option controls into the tree (OK).
    virtual void ReadControls() = 0;
    // Accepts or refuses a device type and format for the mode lists.
    virtual HRESULT ConfirmDevice(const D3DCAPS9& caps, DWORD behavior, D3DFORMAT format);
    // Writes the defaults into the tree.
    virtual void SetDefaults();
    // WM_INITDIALOG; TRUE lets the dialog manager set the focus.
    virtual BOOL InitDialog(HWND focus, LPARAM initParam);
    // Shows the tree again and tells the wallpaper (Cancel, Close).
    virtual void RevertControls() = 0;
    // When a way out of the dialog (OK, Cancel, Restore Defaults) acts: now;
    // later, once the hardware's answers it waits for have come or the time
    // for them is over (the dialog then sends the command again); or never,
    // while another way out waits.
    enum class CommandTiming { ActNow, Deferred, Dropped };
    virtual CommandTiming TimeCommand(UINT command);
    // The dialog is about to end (OK, Cancel, Close), perhaps once a wait is
    // over; and, after an OK that could not save, stays open after all.
    virtual void DialogClosing();
    virtual void DialogStaysOpen();

    Node& Settings() { return settings; }
    DisplayConfiguration& Display() { return display_; }

protected:
    // The same dialog from another template that has the controls' ids (a
    // test's template with the resolution controls).
    explicit CSettingsDlgBase(UINT templateId);

    // The product key over the defaults the tree holds.
    void LoadStoredSettings();
    // Writes the tree; a failure is shown in a message box owned by the
    // dialog, and false.
    bool SaveSettings();
    void VisitWebSite();
    // Cancel and Close: the tree shown and posted again, nothing stored.
    void CancelDialog();

    // The dialog's display checks, for an inventory taken elsewhere.
    DeviceConfirmer& DeviceChecks() { return confirmer_; }

    void FillMonitorControls();
    // At the dialog's start the inventory has just read the desktop modes;
    // every later filling asks for them afresh.
    void FillResolutionControls(
        DisplayConfiguration::DesktopMode desktop = DisplayConfiguration::DesktopMode::AskedAfresh);

    // The settings tree; the display configuration reads and writes it.
    Node settings;

    // Option controls (null when the template lacks one).
    HWND enableSounds_ = nullptr;
    HWND soundsVolume_ = nullptr;
    HWND soundsVolumeLabel_ = nullptr;
    HWND enableMusic_ = nullptr;
    HWND musicVolume_ = nullptr;
    HWND musicVolumeLabel_ = nullptr;
    HWND highQualityTextures_ = nullptr;
    HWND exitOnMouseMove_ = nullptr;
    HWND highQualityGraphics_ = nullptr;
    HWND antialiasing_ = nullptr;
    HWND antialiasingQualityLabel_ = nullptr;
    HWND antialiasingQuality_ = nullptr;
    HWND playMyMusic_ = nullptr;
    HWND editPlaylist_ = nullptr;
    HWND runAtStartup_ = nullptr;

    // The monitor group.
    HWND monitorList_ = nullptr;
    HWND blankScreens_ = nullptr;
    HWND resolutionList_ = nullptr;
    HWND desktopResolution_ = nullptr;

    HICON bigIcon_ = nullptr;

    // The registered change message and the running wallpaper's window.
    std::uint32_t wallpaperMessage = 0;
    HWND wallpaperWindow = nullptr;

private:
    // Passes the display configuration's device checks to ConfirmDevice.
    class Confirmer : public DeviceConfirmer {
    public:
        explicit Confirmer(CSettingsDlgBase& dialog) : dialog_(dialog) {}
        HRESULT ConfirmDevice(const D3DCAPS9& caps, DWORD behavior, D3DFORMAT format) override {
            return dialog_.ConfirmDevice(caps, behavior, format);
        }

    private:
        CSettingsDlgBase& dialog_;
    };

    LRESULT OnInitDialog(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    LRESULT OnVisitWebSite(WORD, WORD, HWND, BOOL&);
    LRESULT OnMonitorChosen(WORD, WORD, HWND, BOOL&);
    LRESULT OnBlankScreensClicked(WORD, WORD, HWND, BOOL&);
    LRESULT OnDesktopResolutionClicked(WORD, WORD, HWND, BOOL&);
    LRESULT OnResolutionChosen(WORD, WORD, HWND, BOOL&);

    Confirmer confirmer_;
    DisplayConfiguration display_;
};
