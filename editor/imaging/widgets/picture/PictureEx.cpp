#include "PictureEx.h"

#include <QFile>
#include <QPainter>

CPictureEx::CPictureEx(QWidget* parent) : QWidget(parent)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CPictureEx::NextFrame);
}

CPictureEx::~CPictureEx() = default;

QColor CPictureEx::Background() const
{
    return palette().color(QPalette::Button);
}

bool CPictureEx::LoadPicture(const QByteArray& data)
{
    Stop();
    m_frames.clear();
    m_current = -1;
    m_canvas = QImage();
    QSize size;
    const std::optional<GifFrames::Gif> gif = GifFrames::Read(data);
    if (gif && gif->frames.size() > 1) {
        m_frames = gif->frames;
        size = gif->screen;
    } else {
        GifFrames::Frame whole;
        whole.image = QImage::fromData(data);
        if (whole.image.isNull())
            return false;
        size = gif ? gif->screen : whole.image.size();
        whole.area = QRect(QPoint(0, 0), whole.image.size());
        m_frames.push_back(std::move(whole));
    }
    m_canvas = QImage(size, QImage::Format_ARGB32_Premultiplied);
    m_canvas.fill(Background());
    resize(size);
    return true;
}

bool CPictureEx::LoadGifResource()
{
    QFile file(QString::fromLatin1(kGifResource));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return LoadPicture(file.readAll());
}

void CPictureEx::Draw()
{
    if (m_frames.empty())
        return;
    Stop();
    ShowFrame(0);
}

void CPictureEx::Stop()
{
    m_timer.stop();
}

void CPictureEx::ShowFrame(int index)
{
    m_current = index;
    const GifFrames::Frame& frame = m_frames[size_t(index)];
    QPainter painter(&m_canvas);
    // Only the frame's own area: outside it the earlier frames stay.
    painter.drawImage(frame.area.topLeft(), frame.image, frame.area);
    painter.end();
    update();
    if (m_frames.size() > 1)
        m_timer.start(GifFrames::IntervalMs(frame.delay));
}

void CPictureEx::NextFrame()
{
    if (m_frames.size() < 2)
        return;
    const GifFrames::Frame& shown = m_frames[size_t(m_current)];
    if (shown.disposal == 2) {
        QPainter painter(&m_canvas);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(shown.area, Background());
    }
    ShowFrame((m_current + 1) % int(m_frames.size()));
}

void CPictureEx::paintEvent(QPaintEvent*)
{
    if (m_canvas.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, m_canvas);
}
