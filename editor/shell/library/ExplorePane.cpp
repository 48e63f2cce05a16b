#include "editor/shell/library/ExplorePane.h"

#include "editor/core/EditorContext.h"
#include "editor/core/SubjectManager.h"
#include "editor/shell/controls/ShellTheme.h"
#include "editor/shell/library/PhotoPrjectsList.h"

#include <QPainter>

CExplorePane::CExplorePane(EditorContext& context, QWidget* parent)
    : QWidget(parent), m_context(context), m_library(new CPhotoPrjectsList(context, this))
{
    setAccessibleName(QStringLiteral("Explore area"));
    m_library->hide();
}

QWidget* CExplorePane::current() const
{
    return m_libraryShown ? m_library : m_explore;
}

void CExplorePane::SetExploreWindow(QWidget* window, std::function<void(const QString&)> setFolder)
{
    if (m_explore && m_explore != window)
        m_explore->hide();
    m_explore = window;
    m_setFolder = std::move(setFolder);
    if (!window)
        return;
    window->setParent(this);
    window->setGeometry(rect());
    window->setVisible(!m_libraryShown);
}

void CExplorePane::ShowFolder(const QString& path)
{
    ShowInExploreArea(false);
    if (m_setFolder)
        m_setFolder(path);
}

void CExplorePane::ShowExploreWindow()
{
    ShowInExploreArea(false);
}

void CExplorePane::ShowLibrary()
{
    ShowInExploreArea(true);
}

void CExplorePane::ShowInExploreArea(bool library)
{
    // The button follows every request, also one for the window already shown.
    if (CSubject* subject = m_context.Hub().Find(kSubjectButtonState))
        subject->Notify(library ? 1 : 0);
    if (library == m_libraryShown)
        return;
    if (QWidget* old = current())
        old->hide();
    m_libraryShown = library;
    if (QWidget* now = current()) {
        now->setGeometry(rect());
        now->show();
    }
    emit CurrentWindowChanged(library);
}

void CExplorePane::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ShellTheme::Current().Colours().panel);
}

void CExplorePane::resizeEvent(QResizeEvent*)
{
    if (QWidget* now = current())
        now->setGeometry(rect());
}
