// The editor's messages as modal message boxes titled with the product name,
// over the main window when there is one.
#pragma once

#include "editor/core/UserMessages.h"

#include <QPointer>
#include <QWidget>

class MessageBoxMessages : public UserMessages {
public:
    void SetParent(QWidget* parent) { m_parent = parent; }
    // A question offers Yes and No; every other message offers OK.
    bool Present(Kind kind, const QString& text) override;

private:
    QPointer<QWidget> m_parent;
};
