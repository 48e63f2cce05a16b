// The caption colour button: shows the chosen colour; its menu offers
// "Automatic" (no colour of its own, shown as an invalid colour), a row of
// standard colours, and "Other", which opens the colour dialog without
// blocking (the answer arrives when the dialog closes).
#pragma once

#include <QColor>
#include <QPointer>
#include <QToolButton>

class QColorDialog;

class ColourButton : public QToolButton {
    Q_OBJECT
public:
    explicit ColourButton(QWidget* parent = nullptr);

    // An invalid colour is "Automatic".
    void SetColour(const QColor& colour);
    QColor Colour() const { return m_colour; }
    QAction* AutomaticAction() const { return m_automatic; }
    QAction* OtherAction() const { return m_other; }

signals:
    // The user chose a colour (invalid: automatic).
    void ColourChosen(const QColor& colour);

private:
    void Choose(const QColor& colour);
    void OpenDialog();
    void UpdateSwatch();

    QColor m_colour;
    QAction* m_automatic;
    QAction* m_other;
    QPointer<QColorDialog> m_dialog;
};
