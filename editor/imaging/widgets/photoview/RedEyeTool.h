// Red-eye mode on the editor view: a click on the picture asks for red-eye
// removal at that point (RedEyeRequested); the edit commands carry it out.
// Its cursor is a small cross in a red ring, drawn here.
#pragma once

#include <QCursor>
#include <QObject>
#include <QPoint>
#include <QRect>

class RedEyeTool : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // A left click in red-eye mode: inside the picture's drawn rectangle it
    // asks for the removal (true); elsewhere nothing.
    bool Click(QPoint at, QRect drawn);
    // The red-eye cursor, its hot spot in the ring's centre.
    static QCursor Cursor();

signals:
    void RedEyeRequested(QPoint viewPoint);
};
