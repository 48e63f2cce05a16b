// The caption of one album photo: text lines, link, colour and font, placed in
// a box in editor-canvas coordinates (the 480 x 360 area in which the photo is
// shown fitted and centred).
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

struct CaptionBox {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const CaptionBox&) const = default;
};

struct Caption {
    enum State { NoText = 1, HasText = 2 };

    CaptionBox box;
    QStringList lines; // split at line breaks, without the break characters
    QString url;       // empty means no link
    int state = 0;     // set by the first store of the content
    uint32_t colour = 0; // 0x00BBGGRR
    int size = 0;        // font height
    QString font;        // face name

    // 1 when there are no lines or the first line is empty, 2 otherwise.
    static int StateFor(const QStringList& lines)
    {
        return lines.isEmpty() || lines.first().isEmpty() ? NoText : HasText;
    }
};
