#pragma once

#include "Spooler.h"

#include <QHash>

namespace mldd {

/** The spooler of this system: CUPS, reached where CUPS_SERVER points (or its default). */
class CupsSpooler : public Spooler {
public:
    QStringList destinations() override;
    QString defaultDestination() override;
    PrinterQuery query(const QString& printer) override;
    std::optional<int> submit(const QString& printer, const QString& title, const QString& pdfPath,
                              const QString& uuid, std::optional<QSizeF> paperMm,
                              QString* error) override;
    std::optional<int> submitRaw(const QString& printer, const QString& title,
                                 const QByteArray& bytes, const QString& uuid,
                                 QString* error) override;
    std::optional<QList<SpoolerJob>> keptJobs(const QString& printer) override;
    std::optional<SpoolerJob> job(const QString& printer, int id) override;
    bool cancel(const QString& printer, int id) override;
    int resolution(const QString& printer) override;

    /**
     * The media name a job on `printer` asks for paper of `paperMm`: the
     * driver's own for a size it lists (as close as CUPS counts the same),
     * else the custom size "Custom.WxHmm" that CUPS turns into the driver's
     * custom page size.
     */
    QString mediaFor(const QString& printer, QSizeF paperMm);

private:
    QHash<QString, QString> m_media; // by printer and size: a run asks once
};

} // namespace mldd
