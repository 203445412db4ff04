#pragma once

#include <QLCDNumber>

/// A digit display whose one property is its text, set and read back as a string of
/// digits ("060"), drawn as flat segments.
class DigitDisplay final : public QLCDNumber
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
public:
    DigitDisplay(const QString& objectName, int digits, QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);

private:
    QString m_text;
};
