// The animated picture control: shows a picture, and animates a GIF of more
// than one image frame by frame (each frame's own delay, disposal 2 clearing
// its area to the background) on a timer of the user-interface thread.
// The control takes the picture's size.
#pragma once

#include "GifFrames.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

class CPictureEx : public QWidget {
    Q_OBJECT
public:
    // The editor's own animated GIF in its resources (shown while albums are
    // made).
    static constexpr const char* kGifResource = ":/editor/gif/780.gif";

    explicit CPictureEx(QWidget* parent = nullptr);
    ~CPictureEx() override;

    // Replaces any previous picture; false (and nothing shown) when the data
    // cannot be decoded.
    bool LoadPicture(const QByteArray& data);
    bool LoadGifResource();
    // Starts the animation (several frames) or renders the picture once.
    void Draw();
    void Stop();
    // One step of the animation (the timer's tick): the shown frame's
    // disposal, then the next frame, looping.
    void NextFrame();

    int FrameCount() const { return int(m_frames.size()); }
    int CurrentFrame() const { return m_current; }
    bool IsAnimating() const { return m_timer.isActive(); }
    // How long the current frame stays (the timer's interval).
    int CurrentIntervalMs() const { return m_timer.interval(); }
    const QImage& Canvas() const { return m_canvas; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowFrame(int index);
    QColor Background() const;

    std::vector<GifFrames::Frame> m_frames;
    QImage m_canvas; // the off-screen picture painted to the window
    int m_current = -1;
    QTimer m_timer;
};
