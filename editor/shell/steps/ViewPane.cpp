#include "editor/shell/steps/ViewPane.h"

#include "editor/shell/WorkspaceMetrics.h"
#include "editor/shell/controls/QemMFCButton.h"
#include "editor/shell/controls/ShellArt.h"
#include "editor/shell/controls/ShellTheme.h"
#include "editor/shell/tree/QemShellTreeCtrl.h"

#include <QPainter>
#include <qdrawutil.h>

using namespace WorkspaceMetrics;

CViewPane::CViewPane(EditorContext& context, QWidget* parent)
    : QWidget(parent), m_button(new CQemMFCButton(this)), m_tree(new CQemShellTreeCtrl(context, this))
{
    setObjectName(QStringLiteral("ExplorerPane"));
    setAccessibleName(QStringLiteral("Explorer"));
    setMinimumWidth(kMinimumTreeWidth);
    const QPixmap picture = ShellArt::ExistingAlbum(devicePixelRatioF());
    m_button->SetImages(picture, picture, picture);
    m_button->SetCaption(QStringLiteral("Existing Album"));
    m_button->SetCaptionBeside(true);
    m_button->SetFaceColor(Qt::white);
    m_button->setCheckable(true);
    QFont bold = m_button->font();
    bold.setBold(true);
    m_button->setFont(bold);
    m_button->setAccessibleName(QStringLiteral("Existing Album"));
    connect(m_button, &QAbstractButton::clicked, this, [this] {
        // The pressed look follows the explore area through "ButtonState".
        m_button->setChecked(m_libraryShown);
        emit ExistingAlbumRequested();
    });
    m_prjState = std::make_unique<CObserverPrjState>(*this);
    m_buttonState = std::make_unique<CObserverButtonState>(*this);
    connect(&ShellTheme::Current(), &ShellTheme::Changed, this, qOverload<>(&QWidget::update));
}

CViewPane::~CViewPane() = default;

void CViewPane::CObserverPrjState::Update(int value)
{
    m_pane.m_tree->setVisible(value != 0);
    m_pane.m_tree->setEnabled(value != 0);
}

void CViewPane::CObserverButtonState::Update(int value)
{
    m_pane.m_libraryShown = value != 0;
    m_pane.m_button->setChecked(value != 0);
}

void CViewPane::resizeEvent(QResizeEvent*)
{
    const ExplorerPaneLayout layout = LayOutExplorerPane(rect());
    m_button->setGeometry(layout.button);
    m_tree->setGeometry(layout.tree);
}

void CViewPane::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const ExplorerPaneLayout layout = LayOutExplorerPane(rect());
    painter.fillRect(rect(), ShellTheme::Current().Colours().panel);
    painter.fillRect(layout.header, palette().color(QPalette::Button));
    qDrawShadePanel(&painter, layout.header, palette(), false, 1);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(layout.header.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QStringLiteral("Explorer"));
    painter.fillRect(layout.band, Qt::white);
}
