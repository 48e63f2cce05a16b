// A one-line edit that keeps the window background colour when it is
// read-only or disabled, instead of turning grey.
#pragma once

#include <QLineEdit>

class CFixedBackgroundEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CFixedBackgroundEdit(QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* e) override;

private:
    void FixBackground();
    bool m_fixing = false;
};
