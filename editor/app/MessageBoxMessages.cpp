#include "editor/app/MessageBoxMessages.h"

#include "editor/core/StringTable.h"

#include <QMessageBox>

bool MessageBoxMessages::Present(Kind kind, const QString& text)
{
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (kind) {
    case Kind::Information: icon = QMessageBox::Information; break;
    case Kind::Warning: icon = QMessageBox::Warning; break;
    case Kind::Critical: icon = QMessageBox::Critical; break;
    case Kind::Question: icon = QMessageBox::Question; break;
    }
    const QMessageBox::StandardButtons buttons =
        kind == Kind::Question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok;
    QMessageBox box(icon, Strings::Load(Strings::ProductTitle), text, buttons, m_parent);
    return box.exec() == QMessageBox::Yes;
}
