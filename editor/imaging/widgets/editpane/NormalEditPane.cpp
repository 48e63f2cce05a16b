#include "NormalEditPane.h"

#include "PaneArt.h"
#include "editor/catalogues/Catalogues.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/EditorContext.h"
#include "editor/core/StringTable.h"
#include "editor/core/UserMessages.h"
#include "editor/shell/controls/QemMFCButton.h"
#include "editor/shell/controls/ShellTheme.h"

#include <QPainter>

CNormalEditPane::CNormalEditPane(EditorContext& context, QWidget* parent)
    : QWidget(parent), m_context(context), m_apply(new CQemMFCButton(this, kApplyToAllId))
{
    setAccessibleName(tr("Effect Pane"));
    m_apply->setObjectName(QStringLiteral("ApplyToAll"));
    m_apply->SetImages(PaneArt::Draw(PaneArt::Picture::ApplyToAll));
    m_apply->SetCaption(QStringLiteral("应用到所有"));
    m_apply->SetCaptionBeside(true);
    connect(m_apply, &QPushButton::clicked, this, &CNormalEditPane::ApplyToAll);
}

void CNormalEditPane::SetExplorer(QWidget* explorer)
{
    if (m_explorer == explorer)
        return;
    m_explorer = explorer;
    if (explorer) {
        explorer->setParent(this);
        explorer->show();
    }
    LayOut();
}

void CNormalEditPane::SetLastPreviewedEffect(std::function<int()> lastPreviewed)
{
    m_lastPreviewed = std::move(lastPreviewed);
}

void CNormalEditPane::ApplyToAll()
{
    const int effect = m_lastPreviewed ? m_lastPreviewed() : -1;
    if (!m_context.Effects().IsValidIndex(effect))
        return;
    if (!m_context.Messages().Question(Strings::Load(Strings::ApplyEffectToAll)))
        return;
    // Each photo's EffectChanged repaints its strip cell.
    m_context.Album().SetEffectForAll(effect);
}

void CNormalEditPane::LayOut()
{
    const QSize button = m_apply->sizeHint();
    m_apply->setGeometry(width() - kRightGap - button.width(), height() - kBottomGap - button.height(),
                         button.width(), button.height());
    if (m_explorer)
        m_explorer->setGeometry(0, 0, width(), qMax(0, m_apply->y() - 8));
}

void CNormalEditPane::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

void CNormalEditPane::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ShellTheme::Current().Colours().panel);
}

void CNormalEditPane::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    emit PaneShown();
}

void CNormalEditPane::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    emit PaneHidden();
}
