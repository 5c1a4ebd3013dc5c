#include "app/replace/JsonLinesReport.h"

#include "app/replace/ReplaceArguments.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

const char *const OutcomeNames[] = {"written", "unchanged", "skipped", "failed"};

void writeLine(std::FILE *out, const QJsonObject &object)
{
    const QByteArray line = QJsonDocument(object).toJson(QJsonDocument::Compact);
    std::fwrite(line.constData(), 1, size_t(line.size()), out);
    std::fputc('\n', out);
    std::fflush(out);
}

} // namespace

void JsonLinesReport::file(const FileOutcome &outcome)
{
    ++m_counts[outcome.kind];
    if (outcome.kind == FileOutcome::Written)
        m_replacements += outcome.replacements;
    const QString coding = CodingOptionName(outcome.coding);
    QJsonObject object{
        {"type", "file"},
        {"path", outcome.path},
        {"coding", coding.isEmpty() ? QJsonValue() : QJsonValue(coding)},
        {"replacements", outcome.replacements},
        {"outcome", OutcomeNames[outcome.kind]},
    };
    if (outcome.kind == FileOutcome::Skipped)
        object.insert("reason", outcome.reason);
    else if (outcome.kind == FileOutcome::Failed)
        object.insert("message", outcome.reason);
    writeLine(m_out, object);
}

void JsonLinesReport::summary(int exitCode)
{
    writeLine(m_out,
              QJsonObject{
                  {"type", "summary"},
                  {"files", m_counts[0] + m_counts[1] + m_counts[2] + m_counts[3]},
                  {"written", m_counts[FileOutcome::Written]},
                  {"unchanged", m_counts[FileOutcome::Unchanged]},
                  {"skipped", m_counts[FileOutcome::Skipped]},
                  {"failed", m_counts[FileOutcome::Failed]},
                  {"replacements", m_replacements},
                  {"exit_code", exitCode},
              });
}
