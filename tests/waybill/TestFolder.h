#pragma once

#include "core/DataFolder.h"
#include "waybill/LayoutCodec.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <ostream>

namespace mldd::test {

/** A data folder of its own for one test, with helpers to put template files into it. */
class TestFolder {
public:
    TestFolder() : m_folder(m_dir.path() + QStringLiteral("/data")) {}

    const DataFolder& folder() const { return m_folder; }

    QString deliveryFile(const QString& name) const {
        return m_dir.path() + QStringLiteral("/data/Delivery/") + name;
    }

    void writeFile(const QString& name, const QByteArray& bytes) const {
        m_folder.ensureExists();
        QDir().mkpath(m_dir.path() + QStringLiteral("/data/Delivery"));
        QFile file(deliveryFile(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }

    /** A template of these records with a 100 × 50 mm white background picture. */
    void writeTemplate(const QString& name, const QStringList& records) const {
        writeFile(name + QStringLiteral(".mlg"),
                  LayoutCodec::encode(records.join(QStringLiteral("{D}"))).toUtf8() + "\r\n");
        QImage picture(800, 400, QImage::Format_RGB32);
        picture.fill(Qt::white);
        picture.setDotsPerMeterX(8000);
        picture.setDotsPerMeterY(8000);
        picture.save(deliveryFile(name + QStringLiteral(".mlm")), "PNG");
    }

private:
    QTemporaryDir m_dir;
    DataFolder m_folder;
};

} // namespace mldd::test

// Readable QStrings in the messages of failed expectations.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE
