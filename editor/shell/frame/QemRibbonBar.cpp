#include "editor/shell/frame/QemRibbonBar.h"

#include "editor/shell/StepTabRules.h"
#include "editor/shell/controls/ShellArt.h"
#include "editor/shell/controls/ShellTheme.h"
#include "editor/shell/frame/AppMenu.h"
#include "editor/shell/frame/QemTabCtrl.h"

#include <QLinearGradient>
#include <QPainter>

AppButton::AppButton(QWidget* parent) : QAbstractButton(parent)
{
    setToolTip(QStringLiteral("文件"));
    setAccessibleName(QStringLiteral("文件"));
    setShortcut(QKeySequence(QStringLiteral("Alt+F")));
    setFixedSize(kSize, kSize);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
}

void AppButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    ShellArt::State state = ShellArt::State::Normal;
    if (!isEnabled())
        state = ShellArt::State::Disabled;
    else if (isDown())
        state = ShellArt::State::Pressed;
    else if (underMouse() || hasFocus())
        state = ShellArt::State::Hot;
    painter.drawPixmap(0, 0, ShellArt::AppButton(state, devicePixelRatioF()));
}

CQemRibbonBar::CQemRibbonBar(QWidget* parent)
    : QWidget(parent), m_appButton(new AppButton(this)), m_tabs(new CQemTabCtrl(this)), m_menu(new AppMenu(this))
{
    setObjectName(QStringLiteral("QemRibbonBar"));
    setAccessibleName(QStringLiteral("Top band"));
    m_appButton->move(2, (kHeight - AppButton::kSize) / 2);
    connect(m_appButton, &QAbstractButton::clicked, this, &CQemRibbonBar::ShowMenu);
    connect(m_menu, &AppMenu::Command, this, &CQemRibbonBar::Command);
    connect(&ShellTheme::Current(), &ShellTheme::Changed, this, qOverload<>(&QWidget::update));
}

QSize CQemRibbonBar::sizeHint() const
{
    return QSize(800, kHeight);
}

void CQemRibbonBar::SetCaption(const QString& caption)
{
    m_caption = caption;
    update();
}

void CQemRibbonBar::SetRecent(const QStringList& folders)
{
    m_menu->SetRecent(folders);
}

void CQemRibbonBar::ShowMenu()
{
    m_menu->Popup(m_appButton->mapToGlobal(QPoint(0, m_appButton->height())));
}

void CQemRibbonBar::resizeEvent(QResizeEvent*)
{
    m_tabs->setGeometry(StepTabRules::StripRect(width(), height(), kStripHeight));
}

void CQemRibbonBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const ShellColours& colours = ShellTheme::Current().Colours();
    QLinearGradient band(0, 0, 0, height());
    band.setColorAt(0, colours.bandTop);
    band.setColorAt(1, colours.bandBottom);
    painter.fillRect(rect(), band);
    painter.setPen(colours.shadow);
    painter.drawLine(0, height() - 1, width(), height() - 1);
    const QRect captionArea(StepTabRules::StripRect(width(), height(), kStripHeight).left(), 0,
                            width() - 2 * 45, height() - kStripHeight - 1);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(captionArea, Qt::AlignCenter | Qt::TextSingleLine, m_caption);
}
