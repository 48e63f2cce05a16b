// Messages for the user recorded instead of shown; questions are answered no.
#pragma once

#include "editor/core/UserMessages.h"

#include <QStringList>

namespace TestSupport {
class RecordedMessages : public UserMessages {
public:
    QStringList texts;
    bool Present(Kind, const QString& text) override
    {
        texts << text;
        return false;
    }
};
} // namespace TestSupport
