#include "editor/shell/frame/ChildView.h"

#include "editor/catalogues/widgets/theme/QemThemeWnd.h"
#include "editor/core/EditorContext.h"
#include "editor/generation/widgets/generate/QemGenerateWnd.h"
#include "editor/shell/WorkspaceMetrics.h"
#include "editor/shell/controls/QemMFCButton.h"
#include "editor/shell/controls/ShellArt.h"
#include "editor/shell/controls/ShellTheme.h"
#include "editor/shell/steps/AddPhotoWnd.h"
#include "editor/shell/steps/QemEditWnd.h"

#include <QPainter>

using namespace WorkspaceMetrics;

CChildView::CChildView(EditorContext& context, QWidget* parent)
    : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("ChildView"));
    // Made in the order of the layout, which is the keyboard focus order:
    // the step's controls, then Save, Back and Next.
    m_steps = {new CAddPhotoWnd(context, this), new CQemEditWnd(context, this), new CQemThemeWnd(this),
               new CQemGenerateWnd(this)};
    for (StepWindow* step : m_steps)
        step->hide();
    m_steps[0]->show();
    connect(static_cast<CAddPhotoWnd*>(m_steps[0]), &CAddPhotoWnd::EditRequested, this, &CChildView::EditRequested);
    m_save = makeButton(kSaveButton, QStringLiteral("保存"));
    m_back = makeButton(kBackButton, QStringLiteral("上一步"));
    m_next = makeButton(kNextButton, QStringLiteral("下一步"));
    m_back->setEnabled(false);
    connect(m_save, &QAbstractButton::clicked, this, &CChildView::SaveRequested);
    connect(m_next, &QAbstractButton::clicked, this, [this] {
        if (const int step = NextStep(m_current); step >= 0)
            emit StepRequested(step);
    });
    connect(m_back, &QAbstractButton::clicked, this, [this] {
        if (const int step = PreviousStep(m_current); step >= 0)
            emit StepRequested(step);
    });

    connect(&ShellTheme::Current(), &ShellTheme::Changed, this, qOverload<>(&QWidget::update));
}

CQemMFCButton* CChildView::makeButton(int id, const QString& name)
{
    auto* button = new CQemMFCButton(this);
    const qreal dpr = devicePixelRatioF();
    button->SetImages(ShellArt::StepButton(id, ShellArt::State::Normal, dpr), ShellArt::StepButton(id, ShellArt::State::Hot, dpr),
                      ShellArt::StepButton(id, ShellArt::State::Pressed, dpr));
    button->setToolTip(name);
    button->setAccessibleName(name);
    button->setFixedSize(kStepButton);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

void CChildView::SwitchStep(int index)
{
    if (index < 0 || index >= kStepCount)
        return;
    const StepButtons buttons = ButtonsFor(index);
    m_back->setEnabled(buttons.backEnabled);
    m_next->setEnabled(buttons.nextEnabled);
    const int old = m_current;
    m_current = index;
    if (old != index) {
        m_steps[size_t(old)]->OnStepLeaving();
        m_steps[size_t(old)]->hide();
        m_steps[size_t(index)]->show();
        layOut();
        m_steps[size_t(index)]->OnStepEntered();
    }
}

void CChildView::resizeEvent(QResizeEvent*)
{
    layOut();
}

void CChildView::layOut()
{
    const ClientLayout layout = LayOutClient(rect());
    m_steps[size_t(m_current)]->setGeometry(layout.step);
    m_save->setGeometry(layout.save);
    m_next->setGeometry(layout.next);
    m_back->setGeometry(layout.back);
}

void CChildView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const ClientLayout layout = LayOutClient(rect());
    const ShellColours& colours = ShellTheme::Current().Colours();
    painter.fillRect(layout.band, colours.panel);
    painter.setPen(colours.shadow);
    painter.drawLine(layout.band.topLeft(), layout.band.topRight());
}
