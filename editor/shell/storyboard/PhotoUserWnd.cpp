#include "editor/shell/storyboard/PhotoUserWnd.h"

#include "editor/shell/controls/QemMFCButton.h"
#include "editor/shell/controls/ShellArt.h"
#include "editor/shell/controls/ShellTheme.h"
#include "editor/shell/storyboard/PhotoUserList.h"
#include "editor/shell/storyboard/StoryboardMoveRules.h"

#include <QPainter>

CPhotoUserWnd::CPhotoUserWnd(EditorContext& context, QWidget* parent)
    : QWidget(parent), m_delete(new CQemMFCButton(this, kDeleteCommand)), m_list(new CPhotoUserList(context, this))
{
    setObjectName(QStringLiteral("PhotoUserWnd"));
    setAccessibleName(QStringLiteral("Album storyboard"));
    const qreal dpr = devicePixelRatioF();
    m_delete->SetImages(ShellArt::DeleteGlyph(ShellArt::State::Normal, dpr),
                        ShellArt::DeleteGlyph(ShellArt::State::Hot, dpr),
                        ShellArt::DeleteGlyph(ShellArt::State::Pressed, dpr));
    m_delete->setToolTip(QStringLiteral("Delete"));
    m_delete->setAccessibleName(QStringLiteral("Delete"));
    m_delete->SetFaceColor(ShellTheme::Current().Colours().panel);
    m_delete->setEnabled(false);
    connect(m_delete, &QAbstractButton::clicked, m_list, &CPhotoUserList::DeleteSelected);
    connect(m_list, &CPhotoListCtrl::ItemsChanged, this, &CPhotoUserWnd::UpdateDeleteButton);
    connect(m_list, &CPhotoUserList::EditRequested, this, &CPhotoUserWnd::EditRequested);
    connect(&ShellTheme::Current(), &ShellTheme::Changed, this, [this] {
        m_delete->SetFaceColor(ShellTheme::Current().Colours().panel);
        update();
    });
    UpdateDeleteButton(); // the album may hold photos already
}

CPhotoUserWnd::~CPhotoUserWnd() = default;

void CPhotoUserWnd::SetExplorerVisible(bool visible)
{
    m_list->SetHintShown(visible);
}

void CPhotoUserWnd::UpdateDeleteButton()
{
    m_delete->setEnabled(StoryboardMoveRules::DeleteButtonEnabled(m_list->Count()));
}

void CPhotoUserWnd::resizeEvent(QResizeEvent*)
{
    m_delete->setGeometry(0, 0, kButtonWidth, kButtonHeight);
    m_list->setGeometry(0, kListTop, width(), std::max(0, height() - kListTop));
}

void CPhotoUserWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const ShellColours& colours = ShellTheme::Current().Colours();
    painter.fillRect(rect(), colours.panel);
    painter.fillRect(QRect(0, kSeparatorY, width(), 1), colours.shadow);
}
