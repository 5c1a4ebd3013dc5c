#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

// A file's text after its byte-order mark as the UTF-16 units a regular
// expression searches, with the way back from unit positions to byte offsets
// of the buffer. Every character is read as the pair matcher reads it (the
// lead byte of UTF-8 decides how many bytes a character takes), except where
// a regular expression needs valid UTF-16: a four-byte UTF-8 character
// becomes its surrogate pair, and a malformed sequence or a surrogate without
// its partner becomes U+FFFD. A unit position always falls on a character
// boundary, but for the inside of a surrogate pair; the unpaired last byte of
// UTF-16 text is no character.
class DecodedText
{
public:
    DecodedText(const char *data, qint64 length, int encoding, int bomLength);

    const QString &units() const { return m_units; }

    // The byte offset in the buffer at which the character at `unit` starts;
    // for units().size() the end of the text.
    qint64 byteOffset(qsizetype unit) const;

private:
    // A known unit position and its byte offset; UTF-8 keeps one at least
    // every 64 units and walks from the nearest one.
    struct Checkpoint {
        qsizetype unit;
        qint64 byte;
    };

    void decodeAnsi();
    void decodeUtf8();
    void decodeUtf16();

    const char *m_data;
    qint64 m_length;
    int m_encoding;
    int m_bomLength;
    qint64 m_textEnd;
    QString m_units;
    std::vector<Checkpoint> m_checkpoints;
};
