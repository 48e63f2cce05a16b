// Messages for the user, apart from how they reach the user: the program
// shows them in message boxes, batch mode writes them to stderr, tests record
// them. Model code that must tell the user something takes a UserMessages.
#pragma once

#include <QString>

class UserMessages {
public:
    enum class Kind { Information, Warning, Critical, Question };

    virtual ~UserMessages() = default;

    // Tells the user the text; for a question, true when the answer is yes.
    virtual bool Present(Kind kind, const QString& text) = 0;

    void Information(const QString& text) { Present(Kind::Information, text); }
    void Warning(const QString& text) { Present(Kind::Warning, text); }
    void Critical(const QString& text) { Present(Kind::Critical, text); }
    bool Question(const QString& text) { return Present(Kind::Question, text); }
};

// Batch mode: one line "Kelvana: <text>" on stderr per message. There is no
// one to answer a question, so every question is answered no.
class StderrMessages : public UserMessages {
public:
    bool Present(Kind kind, const QString& text) override;
};
