#include "editor/shell/frame/AppMenu.h"

#include "editor/core/StringTable.h"
#include "editor/shell/controls/ShellArt.h"
#include "editor/shell/controls/ShellTheme.h"
#include "editor/shell/frame/ShellCommands.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QFrame* Separator(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}
} // namespace

// A frameless tool window rather than a pop-up: screen readers list the
// windows of a program but not its pop-ups, and the menu must be readable. It
// closes like a pop-up when it loses the activation or on Escape.
AppMenu::AppMenu(QWidget* parent) : QFrame(parent, Qt::Tool | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("AppMenu"));
    setAccessibleName(QStringLiteral("文件"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette look = palette();
    look.setColor(QPalette::Window, ShellTheme::Current().Colours().panel);
    setPalette(look);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->setSpacing(4);
    auto* body = new QHBoxLayout;
    outer->addLayout(body);

    auto* items = new QVBoxLayout;
    items->setSpacing(1);
    addItem(items, ShellCommands::kNew, QStringLiteral("新建"), 0);
    addItem(items, ShellCommands::kOpen, QStringLiteral("打开"), 1);
    addItem(items, ShellCommands::kSave, QStringLiteral("保存"), 2);
    addItem(items, ShellCommands::kSaveAs, QStringLiteral("另存..."), 3);
    items->addWidget(Separator(this));
    addItem(items, ShellCommands::kOptions, QStringLiteral("选项."), 14);
    items->addWidget(Separator(this));
    addItem(items, ShellCommands::kHelp, QStringLiteral("帮助"), 15);
    items->addWidget(Separator(this));
    addItem(items, ShellCommands::kAbout, QStringLiteral("关于") + Strings::Load(Strings::ProductTitle), 16);
    items->addStretch(1);
    body->addLayout(items);

    auto* recentPane = new QFrame(this);
    recentPane->setFixedWidth(kRecentWidth);
    recentPane->setFrameShape(QFrame::StyledPanel);
    recentPane->setAutoFillBackground(true);
    QPalette white = recentPane->palette();
    white.setColor(QPalette::Window, Qt::white);
    recentPane->setPalette(white);
    auto* recentLayout = new QVBoxLayout(recentPane);
    auto* heading = new QLabel(QStringLiteral("当前文档"), recentPane);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    recentLayout->addWidget(heading);
    recentLayout->addWidget(Separator(recentPane));
    m_recent = new QVBoxLayout;
    m_recent->setSpacing(0);
    recentLayout->addLayout(m_recent);
    recentLayout->addStretch(1);
    body->addWidget(recentPane);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    auto* exit = new QToolButton(this);
    exit->setText(QStringLiteral("退出"));
    exit->setAccessibleName(QStringLiteral("退出"));
    exit->setAutoRaise(true);
    connect(exit, &QToolButton::clicked, this, [this] { trigger(ShellCommands::kExit); });
    bottom->addWidget(exit);
    outer->addLayout(bottom);
}

QWidget* AppMenu::addItem(QVBoxLayout* layout, int id, const QString& caption, int image)
{
    auto* button = new QToolButton(this);
    button->setText(caption);
    button->setAccessibleName(caption);
    button->setIcon(QIcon(ShellArt::MenuImage(image, devicePixelRatioF())));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setMinimumWidth(150);
    connect(button, &QToolButton::clicked, this, [this, id] { trigger(id); });
    layout->addWidget(button);
    return button;
}

void AppMenu::SetRecent(const QStringList& folders)
{
    while (QLayoutItem* item = m_recent->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (int i = 0; i < folders.size() && ShellCommands::kFirstRecent + i <= ShellCommands::kLastRecent; ++i) {
        auto* entry = new QToolButton(this);
        const QString name = QFileInfo(QDir::cleanPath(folders[i])).fileName();
        entry->setText(QStringLiteral("%1 %2").arg(i + 1).arg(name));
        entry->setToolTip(QDir::toNativeSeparators(folders[i]));
        entry->setAccessibleName(name);
        entry->setAccessibleDescription(folders[i]);
        entry->setAutoRaise(true);
        entry->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        const int id = ShellCommands::kFirstRecent + i;
        connect(entry, &QToolButton::clicked, this, [this, id] { trigger(id); });
        m_recent->addWidget(entry);
    }
}

void AppMenu::Popup(const QPoint& global)
{
    adjustSize();
    move(global);
    show();
    raise();
    activateWindow();
    if (QWidget* first = findChild<QToolButton*>())
        first->setFocus(Qt::PopupFocusReason);
}

void AppMenu::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow())
        hide();
    QFrame::changeEvent(event);
}

void AppMenu::trigger(int id)
{
    hide();
    emit Command(id);
}

void AppMenu::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    if (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up) {
        focusNextPrevChild(event->key() == Qt::Key_Down);
        return;
    }
    QFrame::keyPressEvent(event);
}
