#pragma once

#include "optionsservices.h"

#include <QColor>
#include <QDialog>
#include <array>

struct NotesSettings;
class ClickablePanel;
class HotKeyEdit;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

// The options dialog: the activation hot key, start-up, tray icon, backups, word wrap, line
// numbers, the hide option, the clearing of copied words, the encryption of protected pages,
// the six colours and the keyword list.
//
// It shows the values of the settings it is given. OK first stores the chosen hot key in the
// settings and sets the start-up shortcut; when the shortcut cannot be written the user is told
// why and the dialog stays open (the hot-key code stays changed). Then it has the hot key
// registered; when that fails the dialog stays open (the hot-key code and the shortcut stay
// changed). When it succeeds and the encryption check box differs from the settings, the
// encryption is turned on or off through the service, which asks for the password; when the
// user cancels that, the dialog stays open. Then every
// other value goes into the settings and the dialog closes with okPressed(). Every other close
// puts the hot-key code and the registered flag back as they were when the dialog was created.
// The custom colours of the colour picker go into the settings whenever the picker closes.
class OptionsDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int HelpContext = 70;
    // The longest delay before a copied word is cleared: a day.
    static constexpr int MaxClipClearSecs = 24 * 60 * 60;

    // settings and hotKeyRegistered belong to the main window; every service must be given.
    OptionsDialog(NotesSettings &settings, bool &hotKeyRegistered, OptionsServices services,
                  QWidget *parent = nullptr);

    bool okPressed() const { return m_okPressed; }

    void done(int result) override;

private:
    // The six colour panels: text and background of the editor, the numbers and the keywords.
    // The partner of a panel (the other one of its row) is the index with the last bit flipped.
    enum ColorIndex
    {
        EditorText,
        EditorBackground,
        NumberText,
        NumberBackground,
        KeyText,
        KeyBackground,
        ColorCount
    };

    void createControls();
    void layOutControls();
    void loadSettings();
    void updateBackupControls();
    void updateColorPanels();
    QColor shownColor(int index) const;
    void chooseColor(int index);
    void setDefaultColors();
    void browseBackupFolder();
    void confirm();
    void storeSettings();

    NotesSettings &m_settings;
    bool &m_hotKeyRegistered;
    const OptionsServices m_services;
    bool m_okPressed = false;
    int m_savedHotKeyCode;
    bool m_savedHotKeyRegistered;

    QComboBox *m_specialKey = nullptr;
    HotKeyEdit *m_standardKey = nullptr;
    QCheckBox *m_loadOnStartup = nullptr;
    QCheckBox *m_showTrayIcon = nullptr;
    QCheckBox *m_minimizeOnStartup = nullptr;
    QCheckBox *m_backupNotes = nullptr;
    QLabel *m_backupFolderLabel = nullptr;
    QLabel *m_hotKeyRoute = nullptr;
    QLineEdit *m_backupFolder = nullptr;
    QPushButton *m_browse = nullptr;
    QCheckBox *m_wrapText = nullptr;
    QCheckBox *m_showLineNumbers = nullptr;
    QCheckBox *m_hideDisablesPassword = nullptr;
    QSpinBox *m_clipClearSecs = nullptr;
    QCheckBox *m_clipClearAll = nullptr;
    QCheckBox *m_encryptProtected = nullptr;
    std::array<QColor, ColorCount> m_colors;
    std::array<ClickablePanel *, ColorCount> m_colorPanels{};
    ClickablePanel *m_defaultColors = nullptr;
    QPlainTextEdit *m_keywords = nullptr;
    QPushButton *m_help = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};
