#pragma once

#include <QString>
#include <string>

// The system's text is Latin-1 bytes; Qt's is Unicode.
class CLatin1Text {
public:
    static QString ToQt(const std::string& text) {
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    }
    static std::string FromQt(const QString& text) { return text.toLatin1().toStdString(); }
};
