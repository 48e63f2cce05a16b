#include "editor/shell/frame/CommandForwarding.h"

#include "editor/shell/controls/CommandTarget.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QTextEdit>

namespace CommandForwarding {

bool ToFocusWindow(int id)
{
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return false;
    if (auto* target = dynamic_cast<CommandTarget*>(focus))
        return target->OnForwardedCommand(id);
    if (auto* edit = qobject_cast<QLineEdit*>(focus)) {
        if (id == CommandTarget::kSelectAll)
            edit->selectAll();
        else if (!edit->isReadOnly())
            edit->del();
        return true;
    }
    if (auto* text = qobject_cast<QTextEdit*>(focus)) {
        if (id == CommandTarget::kSelectAll)
            text->selectAll();
        else if (!text->isReadOnly())
            text->textCursor().deleteChar();
        return true;
    }
    if (auto* view = qobject_cast<QAbstractItemView*>(focus); view && id == CommandTarget::kSelectAll) {
        view->selectAll();
        return true;
    }
    return false;
}

} // namespace CommandForwarding
