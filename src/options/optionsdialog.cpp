#include "optionsdialog.h"

#include "clickablepanel.h"
#include "components/dialogseam.h"
#include "components/hotkeycode.h"
#include "components/productname.h"
#include "customcolors.h"
#include "highlighter/keywordlist.h"
#include "hotkeyedit.h"
#include "notes/notessettings.h"

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int VkA = 'A';

QCheckBox *checkBox(const QString &caption, const QString &name, QWidget *parent)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

QPushButton *button(const QString &caption, const QString &name, QWidget *parent)
{
    auto *pushButton = new QPushButton(caption, parent);
    pushButton->setObjectName(name);
    pushButton->setAutoDefault(false);
    return pushButton;
}

QLabel *label(const QString &caption, QWidget *buddy, QWidget *parent)
{
    auto *text = new QLabel(caption, parent);
    text->setBuddy(buddy);
    return text;
}

} // namespace

OptionsDialog::OptionsDialog(NotesSettings &settings, bool &hotKeyRegistered,
                             OptionsServices services, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_hotKeyRegistered(hotKeyRegistered),
      m_services(std::move(services)), m_savedHotKeyCode(settings.hotKeyCode),
      m_savedHotKeyRegistered(hotKeyRegistered)
{
    setWindowTitle(productName() + QStringLiteral(" Options"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    createControls();
    layOutControls();
    loadSettings();
}

void OptionsDialog::createControls()
{
    m_specialKey = new QComboBox(this);
    m_specialKey->setObjectName(QStringLiteral("specialKey"));
    m_specialKey->addItems(
        {QStringLiteral("Win"), QStringLiteral("Ctrl - Alt"), QStringLiteral("Ctrl - Shift")});
    m_standardKey = new HotKeyEdit(this);
    m_standardKey->setObjectName(QStringLiteral("standardKey"));
    m_hotKeyRoute = new QLabel(this);
    m_hotKeyRoute->setObjectName(QStringLiteral("hotKeyRoute"));
    m_hotKeyRoute->setTextFormat(Qt::PlainText);

    m_loadOnStartup =
        checkBox(QStringLiteral("&Load on Startup"), QStringLiteral("loadOnStartup"), this);
    m_showTrayIcon =
        checkBox(QStringLiteral("Show Tray &Icon"), QStringLiteral("showTrayIcon"), this);
    m_minimizeOnStartup =
        checkBox(QStringLiteral("&Minimize on Startup"), QStringLiteral("minimizeOnStartup"), this);
    m_backupNotes = checkBox(QStringLiteral("&Backup Notes"), QStringLiteral("backupNotes"), this);
    m_backupFolder = new QLineEdit(this);
    m_backupFolder->setObjectName(QStringLiteral("backupFolder"));
    m_backupFolderLabel = label(QStringLiteral("Backup Folder"), m_backupFolder, this);
    m_browse = button(QStringLiteral("Browse"), QStringLiteral("browse"), this);
    m_wrapText = checkBox(QStringLiteral("&Wrap notes text"), QStringLiteral("wrapText"), this);
    m_showLineNumbers =
        checkBox(QStringLiteral("Show Line Numbers"), QStringLiteral("showLineNumbers"), this);
    m_hideDisablesPassword =
        checkBox(QStringLiteral("&Hide disables Password   (Esc, Hot key or Hide Button)"),
                 QStringLiteral("hideDisablesPassword"), this);
    m_clipClearSecs = new QSpinBox(this);
    m_clipClearSecs->setObjectName(QStringLiteral("clipClearSecs"));
    m_clipClearSecs->setRange(0, MaxClipClearSecs);
    m_clipClearSecs->setToolTip(QStringLiteral("0 = never"));
    m_clipClearAll = checkBox(QStringLiteral("also for words from &unprotected pages"),
                              QStringLiteral("clipClearAll"), this);
    m_encryptProtected = checkBox(QStringLiteral("&Encrypt protected pages with the password"),
                                  QStringLiteral("encryptProtected"), this);

    const std::array<QString, ColorCount> panelNames = {
        QStringLiteral("textColor"),   QStringLiteral("backgroundColor"),
        QStringLiteral("numberColor"), QStringLiteral("numberBackground"),
        QStringLiteral("keyColor"),    QStringLiteral("keyBackground")};
    for (int i = 0; i < ColorCount; ++i) {
        m_colorPanels[i] = new ClickablePanel(QStringLiteral("..."), this);
        m_colorPanels[i]->setObjectName(panelNames[i]);
        connect(m_colorPanels[i], &ClickablePanel::clicked, this, [this, i] { chooseColor(i); });
    }
    m_defaultColors = new ClickablePanel(QStringLiteral("Default Colors"), this);
    m_defaultColors->setObjectName(QStringLiteral("defaultColors"));

    m_keywords = new QPlainTextEdit(this);
    m_keywords->setObjectName(QStringLiteral("keywords"));
    m_keywords->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_keywords->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_keywords->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_keywords->setTabChangesFocus(true);

    m_help = button(QStringLiteral("Help"), QStringLiteral("help"), this);
    m_ok = button(QStringLiteral("OK"), QStringLiteral("ok"), this);
    m_ok->setDefault(true);
    m_cancel = button(QStringLiteral("Cancel"), QStringLiteral("cancel"), this);

    connect(m_backupNotes, &QCheckBox::toggled, this, &OptionsDialog::updateBackupControls);
    connect(m_browse, &QPushButton::clicked, this, &OptionsDialog::browseBackupFolder);
    connect(m_defaultColors, &ClickablePanel::clicked, this, &OptionsDialog::setDefaultColors);
    connect(m_ok, &QPushButton::clicked, this, &OptionsDialog::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_help, &QPushButton::clicked, this, [this] { m_services.showHelp(HelpContext); });
    auto *help = new QAction(this);
    help->setShortcut(QKeySequence::HelpContents);
    connect(help, &QAction::triggered, this, [this] { m_services.showHelp(HelpContext); });
    addAction(help);
}

void OptionsDialog::layOutControls()
{
    auto *hotKey = new QGroupBox(QStringLiteral("Activation Hot Key"), this);
    auto *hotKeyRow = new QHBoxLayout(hotKey);
    hotKeyRow->addWidget(label(QStringLiteral("&Special Key"), m_specialKey, hotKey));
    hotKeyRow->addWidget(m_specialKey);
    hotKeyRow->addSpacing(12);
    hotKeyRow->addWidget(label(QStringLiteral("Standard &Key"), m_standardKey, hotKey));
    hotKeyRow->addWidget(m_standardKey, 1);

    auto *checks = new QGridLayout;
    checks->addWidget(m_loadOnStartup, 0, 0);
    checks->addWidget(m_showTrayIcon, 0, 1);
    checks->addWidget(m_minimizeOnStartup, 1, 0);
    checks->addWidget(m_wrapText, 1, 1);
    checks->addWidget(m_backupNotes, 2, 0);
    checks->addWidget(m_showLineNumbers, 2, 1);
    checks->addWidget(m_hideDisablesPassword, 3, 0, 1, 2);

    auto *clipClear = new QHBoxLayout;
    clipClear->addWidget(label(QStringLiteral("&Clear copied words after"), m_clipClearSecs, this));
    clipClear->addWidget(m_clipClearSecs);
    clipClear->addWidget(new QLabel(QStringLiteral("seconds"), this));
    clipClear->addStretch();
    checks->addLayout(clipClear, 4, 0, 1, 2);
    checks->addWidget(m_clipClearAll, 5, 0, 1, 2);
    checks->addWidget(m_encryptProtected, 6, 0, 1, 2);

    auto *backup = new QHBoxLayout;
    backup->addWidget(m_backupFolderLabel);
    backup->addWidget(m_backupFolder, 1);
    backup->addWidget(m_browse);

    auto *colors = new QGridLayout;
    const std::array<QString, 3> rowNames = {QStringLiteral("NotePad Color"),
                                             QStringLiteral("Number Color"),
                                             QStringLiteral("Keyword Color")};
    for (int row = 0; row < 3; ++row) {
        ClickablePanel *text = m_colorPanels[2 * row];
        ClickablePanel *background = m_colorPanels[2 * row + 1];
        colors->addWidget(new QLabel(rowNames[row], this), row, 0);
        colors->addWidget(label(QStringLiteral("&Text"), text, this), row, 1);
        colors->addWidget(text, row, 2);
        colors->addWidget(label(QStringLiteral("&Background"), background, this), row, 3);
        colors->addWidget(background, row, 4);
    }
    colors->addWidget(m_defaultColors, 3, 2, 1, 3);
    colors->setRowStretch(4, 1);

    auto *keywords = new QVBoxLayout;
    keywords->addWidget(label(QStringLiteral("Keywords"), m_keywords, this));
    keywords->addWidget(m_keywords);
    auto *appearance = new QHBoxLayout;
    appearance->addLayout(colors);
    appearance->addLayout(keywords, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_help);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(hotKey);
    layout->addWidget(m_hotKeyRoute);
    layout->addLayout(checks);
    layout->addLayout(backup);
    layout->addLayout(appearance, 1);
    layout->addLayout(buttons);
}

void OptionsDialog::loadSettings()
{
    m_hotKeyRoute->setText(m_services.hotKeyRoute ? m_services.hotKeyRoute() : QString());
    m_hotKeyRoute->setVisible(!m_hotKeyRoute->text().isEmpty());
    m_minimizeOnStartup->setChecked(m_settings.startHidden);
    m_backupNotes->setChecked(m_settings.backupNotes);
    m_showTrayIcon->setChecked(m_settings.showTrayIcon);
    m_wrapText->setChecked(m_settings.wrapText);
    m_hideDisablesPassword->setChecked(m_settings.hideDisablesPassword);
    m_showLineNumbers->setChecked(m_settings.gutterVisible);
    m_clipClearSecs->setValue(m_settings.clipClearSecs);
    m_clipClearAll->setChecked(m_settings.clipClearAll);
    m_encryptProtected->setChecked(m_settings.encryptProtected);
    m_backupFolder->setText(m_settings.backupFolder);
    updateBackupControls();

    const HotKeyCode hotKey(m_settings.hotKeyCode);
    if (hotKey.isNone()) {
        m_specialKey->setCurrentIndex(0);
        m_standardKey->setVirtualKey(VkA);
    } else {
        m_specialKey->setCurrentIndex(static_cast<int>(hotKey.modifier()));
        m_standardKey->setVirtualKey(hotKey.virtualKey());
    }

    m_colors = {m_settings.textColor,        m_settings.backgroundColor, m_settings.numberColor,
                m_settings.numberBackground, m_settings.keyColor,        m_settings.keyBackground};
    updateColorPanels();

    m_keywords->setPlainText(m_settings.keywords.join(QLatin1Char('\n')));

    // On first use (no hot key was ever set) start-up loading is proposed.
    m_loadOnStartup->setChecked(m_services.startupShortcutPresent() || hotKey.isNone());
}

void OptionsDialog::updateBackupControls()
{
    const bool on = m_backupNotes->isChecked();
    m_backupFolderLabel->setEnabled(on);
    m_backupFolder->setEnabled(on);
    m_browse->setEnabled(on);
}

QColor OptionsDialog::shownColor(int index) const
{
    if (m_colors[index].isValid())
        return m_colors[index];
    // "None" is the editor's own colour: its text colour for the text panels, its background
    // for the background panels.
    if (index == EditorText)
        return Qt::white;
    if (index == EditorBackground)
        return Qt::black;
    return shownColor(index % 2);
}

void OptionsDialog::updateColorPanels()
{
    for (int i = 0; i < ColorCount; ++i)
        m_colorPanels[i]->setColors(shownColor(i), shownColor(i ^ 1));
}

void OptionsDialog::chooseColor(int index)
{
    const CustomColors::Colors custom = CustomColors::decode(m_settings.customColors);
    for (int i = 0; i < CustomColors::Count; ++i)
        QColorDialog::setCustomColor(i, custom[i].isValid() ? custom[i] : QColor(Qt::white));

    QColorDialog picker(shownColor(index), this);
    picker.setOption(QColorDialog::DontUseNativeDialog);
    if (DialogSeam::exec(picker) == QDialog::Accepted) {
        QColor chosen = picker.currentColor();
        chosen.setAlpha(255);
        m_colors[index] = chosen;
        updateColorPanels();
    }

    CustomColors::Colors after;
    for (int i = 0; i < CustomColors::Count; ++i)
        after[i] = QColorDialog::customColor(i);
    m_settings.customColors = CustomColors::encode(after);
}

void OptionsDialog::setDefaultColors()
{
    m_colors = {QColor(Qt::white), QColor(Qt::black), QColor(Qt::yellow),
                QColor(Qt::black), QColor(Qt::cyan),  QColor(Qt::black)};
    updateColorPanels();
}

void OptionsDialog::browseBackupFolder()
{
    const QString folder = m_services.browseForFolder(m_backupFolder->text());
    if (!folder.isEmpty())
        m_backupFolder->setText(folder);
}

void OptionsDialog::confirm()
{
    m_settings.hotKeyCode =
        HotKeyCode::compose(m_specialKey->currentIndex(), m_standardKey->virtualKey()).value();
    const QString shortcutProblem =
        m_services.setStartupShortcutPresent(m_loadOnStartup->isChecked());
    if (!shortcutProblem.isEmpty()) {
        DialogSeam::error(this, shortcutProblem);
        return;
    }
    if (!m_services.registerHotKey())
        return;
    // Encryption changes only with the password; a step the user cancels keeps the dialog open.
    const bool encrypt = m_encryptProtected->isChecked();
    if (encrypt != m_settings.encryptProtected &&
        !(m_services.setEncryption && m_services.setEncryption(encrypt)))
        return;
    storeSettings();
    m_okPressed = true;
    accept();
}

void OptionsDialog::storeSettings()
{
    m_settings.startHidden = m_minimizeOnStartup->isChecked();
    m_settings.backupFolder = m_backupFolder->text();
    m_settings.backupNotes = m_backupNotes->isChecked();
    m_settings.showTrayIcon = m_showTrayIcon->isChecked();
    m_settings.wrapText = m_wrapText->isChecked();
    m_settings.hideDisablesPassword = m_hideDisablesPassword->isChecked();
    m_settings.gutterVisible = m_showLineNumbers->isChecked();
    m_settings.clipClearSecs = m_clipClearSecs->value();
    m_settings.clipClearAll = m_clipClearAll->isChecked();

    m_settings.textColor = m_colors[EditorText];
    m_settings.backgroundColor = m_colors[EditorBackground];
    m_settings.numberColor = m_colors[NumberText];
    m_settings.numberBackground = m_colors[NumberBackground];
    m_settings.keyColor = m_colors[KeyText];
    m_settings.keyBackground = m_colors[KeyBackground];

    // One keyword per line, sorted and without case duplicates as the highlighter keeps them;
    // an empty line is no keyword.
    KeywordList keywords;
    keywords.setEntries(m_keywords->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts));
    m_settings.keywords = keywords.entries();
}

void OptionsDialog::done(int result)
{
    if (!m_okPressed) {
        m_settings.hotKeyCode = m_savedHotKeyCode;
        m_hotKeyRegistered = m_savedHotKeyRegistered;
    }
    QDialog::done(result);
}
