#include "CMainDialog.h"

#include "CScreenPicker.h"
#include "platform/DataExchange.h"
#include "platform/DialogTemplate.h"
#include "platform/ModalDialogs.h"
#include "resources/Resources.h"
#include "shell/CAboutDialog.h"
#include "shell/CPasswordDialogs.h"
#include "shell/CSettingsSheet.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileIconProvider>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>

namespace {

enum Column { TitleColumn, VisibleColumn, TopColumn, OpacityColumn, HandleColumn, ProcessColumn, FileColumn };

QString handleText(WindowHandle hwnd)
{
    return QString::fromStdString(formatProcessId(hwnd));  // the same "%.8X"
}

QString qs(const std::string &text)
{
    return QString::fromStdString(text);
}

} // namespace

CMainDialog::CMainDialog(WindowSystem &system, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      system_(system)
{
    setWindowTitle(QString::fromLatin1(resources::dialogTitle));
    setWindowIcon(resources::programIcon());
    mainPage_ = std::make_unique<CMainSettingsPage>();
    securityPage_ = std::make_unique<CSecurityPage>(storedPassword);
    enterPassword_ = std::make_unique<CEnterPasswordDialog>(this);
    actions.askPassword = [this] { return askPassword(); };
    createControls();
    picker_ = std::make_unique<CScreenPicker>();
    connect(picker_.get(), &CScreenPicker::pointPicked, this,
            [this](QPoint point) {
                actions.onPickPoint(point.x(), point.y());
                refreshWindowList();
            },
            Qt::QueuedConnection);
}

CMainDialog::~CMainDialog()
{
    if (!ending_)
        actions.undoAll();
}

void CMainDialog::createControls()
{
    DialogTemplate t(this, 449, 240);
    listView_ = t.place(ListView, new QTreeWidget, {7, 7, 435, 153});
    t.place(RefreshButton, new QPushButton(QStringLiteral("Refresh")), {392, 42, 50, 14})->setVisible(false);
    groupingBox_ = t.place(GroupingBox,
                           new QCheckBox(QStringLiteral("Show all child windows of a process as one window (recommended)")),
                           {7, 219, 288, 14});
    t.place(0, new QGroupBox(QStringLiteral("Transparency")), {7, 164, 141, 50});
    t.place(0, new QGroupBox(QStringLiteral("Visibility")), {155, 164, 115, 50});
    t.place(0, new QGroupBox(QStringLiteral("\"Always on Top\" Mode")), {277, 164, 115, 50});
    percentBox_ = t.place(PercentBox, new QLineEdit, {17, 176, 17, 14});
    percentBox_->setAlignment(Qt::AlignRight);
    acceptDigitsOnly(percentBox_);
    percentLabel_ = t.place(PercentLabel, new QLabel(QStringLiteral("%")), {37, 176, 9, 14});
    const struct {
        int id;
        const char *text;
        QRect rect;
    } buttons[] = {
        {MakeTransparentButton, "Make transparent", {49, 176, 92, 14}},
        {HideButton, "Hide", {165, 176, 98, 14}},
        {MakeTopmostButton, "Make \"Always on top\"", {285, 176, 98, 14}},
        {MakeOpaqueButton, "Make opaque", {49, 193, 92, 14}},
        {ShowButton, "Show", {165, 193, 98, 14}},
        {RestoreButton, "Restore", {285, 193, 98, 14}},
    };
    for (const auto &b : buttons) {
        auto *button = t.place(b.id, new QPushButton(QString::fromLatin1(b.text)), b.rect);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, id = b.id] { onActionButton(id); });
    }
    auto *icon = t.place(ProgramIcon, new QLabel, {409, 168, 20, 20});
    icon->setPixmap(resources::programIcon().pixmap(icon->size()));
    auto *full = t.place(0, new QLabel(QStringLiteral("100 %")), {17, 193, 27, 14});
    full->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto *close = t.place(CloseButton, new QPushButton(QStringLiteral("Close")), {399, 219, 43, 14});
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &CMainDialog::hideDialog);
    auto *about = t.place(AboutButton, new QPushButton(QStringLiteral("About")), {399, 200, 43, 14});
    about->setAutoDefault(false);
    connect(about, &QPushButton::clicked, this, &CMainDialog::showAboutBox);

    groupingBox_->setChecked(inventory.groupChildWindows);
    connect(groupingBox_, &QCheckBox::clicked, this, &CMainDialog::onGroupingClicked);
    connect(listView_, &QTreeWidget::itemSelectionChanged, this, [this] { onSelectionChanged(selectedRow()); });
    connect(listView_, &QTreeWidget::itemClicked, this, [this] { onSelectionChanged(selectedRow()); });
    percentBox_->setText(QString::number(actions.transparencyPercent));
}

void CMainDialog::setupListView()
{
    QTreeWidget *list = listView_;
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSortingEnabled(false);
    list->setIconSize(QSize(16, 16));
    list->setUniformRowHeights(true);
    list->header()->setSectionsClickable(false);
    list->header()->setStretchLastSection(false);
    const resources::StringId headings[] = {resources::TitleHeading,   resources::VisibleHeading,
                                            resources::TopHeading,     resources::OpacityHeading,
                                            resources::HandleHeading,  resources::ProcessHeading,
                                            resources::FileHeading};
    QStringList labels;
    for (resources::StringId id : headings)
        labels << resources::text(id);
    list->setHeaderLabels(labels);
    const int widths[] = {190, 60, 60, facts.hasLayeredWindows() ? 60 : 0, 0, 0, 260};
    for (int column = 0; column < 7; ++column) {
        list->setColumnWidth(column, widths[column]);
        list->setColumnHidden(column, widths[column] == 0);
        const bool right = column == HandleColumn || column == ProcessColumn;
        list->headerItem()->setTextAlignment(column, right ? Qt::AlignRight : Qt::AlignLeft);
    }
}

QWidget *CMainDialog::control(int id) const
{
    return DialogTemplate::control(this, id);
}

int CMainDialog::selectedRow() const
{
    const QList<QTreeWidgetItem *> selected = listView_->selectedItems();
    return selected.isEmpty() ? -1 : listView_->indexOfTopLevelItem(selected.first());
}

// The opacity a listed row shows: the percent chosen here when this program made it transparent.
QString CMainDialog::shownOpacity(const WindowEntry &entry) const
{
    if (const int k = actions.findRecord(entry.hwnd, ChangeKind::Transparent); k >= 0)
        return qs(actions.changeRecords[std::uint32_t(k)].opacityText);
    return qs(entry.opacityText);
}

void CMainDialog::refreshWindowList()
{
    if (promptOpen_)
        return;
    inventory.buildInventory();
    if (rebuildPending || listViewDiffers())
        rebuildListView();
    rebuildPending = false;
}

// Only the handle, opacity, topmost and visible columns are compared, so a refresh every
// 100 ms leaves an unchanged list (and its selection) alone. The visible column tells a
// window just hidden from the listed row it had at the same place, and a list whose
// length changed is rebuilt too: rows of windows that are gone must not stay.
bool CMainDialog::listViewDiffers() const
{
    std::uint32_t hiddenCount = 0;
    for (const WindowEntry &record : actions.changeRecords)
        hiddenCount += record.changeKind == ChangeKind::Hidden;
    const std::uint32_t listed = inventory.listedWindows.count();
    if (std::uint32_t(listView_->topLevelItemCount()) != listed + hiddenCount)
        return true;
    auto differs = [this](int row, const WindowEntry &entry, const char *visible, const QString &opacity) {
        const QTreeWidgetItem *item = listView_->topLevelItem(row);
        return item->text(HandleColumn) != handleText(entry.hwnd) || item->text(OpacityColumn) != opacity ||
               item->text(TopColumn) != qs(entry.topmostText) || item->text(VisibleColumn) != QLatin1String(visible);
    };
    int row = 0;
    for (const WindowEntry &entry : inventory.listedWindows) {
        if (differs(row++, entry, yesText, shownOpacity(entry)))
            return true;
    }
    for (const WindowEntry &record : actions.changeRecords) {
        if (record.changeKind == ChangeKind::Hidden && differs(row++, record, noText, qs(record.opacityText)))
            return true;
    }
    return false;
}

void CMainDialog::rebuildListView()
{
    listView_->clear();
    QList<QTreeWidgetItem *> items;
    auto add = [&](const WindowEntry &entry, const char *visible, const QString &opacity) {
        auto *item = new QTreeWidgetItem;
        item->setText(TitleColumn, qs(entry.title));
        item->setIcon(TitleColumn, iconForEntry(system_, entry));
        item->setText(VisibleColumn, QString::fromLatin1(visible));
        item->setText(TopColumn, qs(entry.topmostText));
        item->setText(OpacityColumn, opacity);
        item->setText(HandleColumn, handleText(entry.hwnd));
        item->setText(ProcessColumn, qs(entry.processIdText));
        item->setText(FileColumn, qs(entry.fileName));
        item->setTextAlignment(HandleColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(ProcessColumn, Qt::AlignRight | Qt::AlignVCenter);
        items << item;
    };
    for (const WindowEntry &entry : inventory.listedWindows)
        add(entry, yesText, shownOpacity(entry));
    for (const WindowEntry &record : actions.changeRecords) {
        if (record.changeKind == ChangeKind::Hidden)
            add(record, noText, qs(record.opacityText));
    }
    listView_->addTopLevelItems(items);
}

// The window's own small icon; else the icon of its program's file; else the generic
// program icon (not for the taskbar, whose file icon is its own).
QIcon CMainDialog::iconForEntry(WindowSystem &system, const WindowEntry &entry)
{
    const WindowIcon icon = system.smallIcon(entry.hwnd);
    if (icon.width > 0 && icon.height > 0 && icon.argb.size() == std::size_t(icon.width) * std::size_t(icon.height)) {
        const QImage image(reinterpret_cast<const uchar *>(icon.argb.data()), icon.width, icon.height,
                           QImage::Format_ARGB32);
        return QIcon(QPixmap::fromImage(image.scaled(16, 16, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
    const bool taskbar = entry.title == taskbarTitle || entry.title == std::string(taskbarTitle) + " (hidden)";
    const QFileInfo file(qs(entry.fileName));
    if (!taskbar && entry.fileName != unknownFileName && file.isFile()) {
        const QIcon fileIcon = QFileIconProvider().icon(file);
        if (!fileIcon.isNull())
            return fileIcon;
    }
    return taskbar ? QIcon() : QApplication::style()->standardIcon(QStyle::SP_DesktopIcon);
}

void CMainDialog::updateButtons(ButtonState state)
{
    const int actionButtons[] = {HideButton,    ShowButton,           MakeTopmostButton,
                                 RestoreButton, MakeTransparentButton, MakeOpaqueButton};
    switch (state) {
    case NothingSelected:
        percentBox_->setVisible(false);
        percentLabel_->setVisible(false);
        for (int id : actionButtons)
            control(id)->setEnabled(false);
        refreshWindowList();
        break;
    case HiddenRowSelected:
        percentBox_->setVisible(false);
        percentLabel_->setVisible(false);
        for (int id : actionButtons)
            control(id)->setEnabled(id == ShowButton);
        break;
    case ListedRowSelected:
        if (facts.hasLayeredWindows()) {
            percentBox_->setVisible(true);
            percentLabel_->setVisible(true);
            control(MakeTransparentButton)->setEnabled(true);
        }
        control(ShowButton)->setEnabled(false);
        break;
    }
}

void CMainDialog::onSelectionChanged(int row)
{
    const int listed = int(inventory.listedWindows.count());
    if (row >= listed) {
        updateButtons(HiddenRowSelected);
        return;
    }
    if (row < 0) {
        updateButtons(NothingSelected);
        return;
    }
    updateButtons(ListedRowSelected);
    const QTreeWidgetItem *item = listView_->topLevelItem(row);
    // The program never offers to hide itself.
    control(HideButton)->setEnabled(item->text(TitleColumn) != QLatin1String(resources::dialogTitle));
    if (facts.hasLayeredWindows()) {
        // Where opacity cannot be read every window shows 100 %, so none can be ruled out.
        const bool opaque = item->text(OpacityColumn) == QLatin1String(fullOpacityText);
        control(MakeOpaqueButton)->setEnabled(!opaque || !facts.canReadLayeredAlpha());
    }
    const bool topmost = inventory.listedWindows[std::uint32_t(row)].topmostText == yesText;
    control(MakeTopmostButton)->setEnabled(!topmost);
    control(RestoreButton)->setEnabled(topmost);
}

void CMainDialog::onActionButton(int id)
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const auto index = std::uint32_t(row);
    switch (id) {
    case HideButton:
        actions.applyWindowAction(index, WindowAction::Hide, true, ChangeKind::Hidden, true);
        break;
    case ShowButton:
        actions.applyWindowAction(index - inventory.listedWindows.count(), WindowAction::Restore, true,
                                  ChangeKind::Hidden, true);
        break;
    case MakeTopmostButton:
        actions.applyWindowAction(index, WindowAction::MakeTopmost, true, ChangeKind::OnTop, true);
        break;
    case RestoreButton:
        actions.applyWindowAction(index, WindowAction::Restore, true, ChangeKind::OnTop, true);
        break;
    case MakeTransparentButton: {
        // A refused percent changes nothing: the box keeps its text for another try.
        const std::optional<int> percent = readIntegerBox(percentBox_, 0, 100, QLatin1String(resources::programName));
        if (!percent)
            return;
        actions.transparencyPercent = *percent;
        actions.applyWindowAction(index, WindowAction::MakeTransparent, true, ChangeKind::Transparent, true);
        break;
    }
    case MakeOpaqueButton:
        actions.applyWindowAction(index, WindowAction::Restore, true, ChangeKind::Transparent, true);
        break;
    }
    updateButtons(NothingSelected);
}

void CMainDialog::onGroupingClicked()
{
    const ProtectionFlags &p = actions.protection;
    if ((p.protectExit || p.protectHide || p.protectOnTop || p.protectTransparent) && !askPassword()) {
        groupingBox_->setChecked(inventory.groupChildWindows);  // the mode did not change
        return;
    }
    inventory.groupChildWindows = groupingBox_->isChecked();
    actions.undoAll();
    inventory.listedWindows.clear();
    refreshWindowList();
}

void CMainDialog::showAboutBox()
{
    CAboutDialog about(this);
    modal::run(about);
}

void CMainDialog::closeEvent(QCloseEvent *event)
{
    event->ignore();
    hideDialog();
}

void CMainDialog::reject()
{
    hideDialog();  // Escape
}
