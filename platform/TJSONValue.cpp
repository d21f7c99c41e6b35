#include "TJSONValue.h"

#include <QStringList>

namespace vantjson {

TJSONValue Parse(std::string_view text)
{
    try {
        return TJSONValue::parse(text.begin(), text.end());
    } catch (const TJSONValue::exception &e) {
        throw EJSONError(e.what());
    }
}

QString ValueText(const TJSONValue &value)
{
    switch (value.type()) {
    case TJSONValue::value_t::string:
        return QString::fromStdString(value.get_ref<const std::string &>());
    case TJSONValue::value_t::object:
    case TJSONValue::value_t::array:
    case TJSONValue::value_t::discarded:
        return {};
    default:
        return QString::fromStdString(value.dump());
    }
}

const TJSONValue *FindValue(const TJSONValue &root, const QString &path)
{
    const TJSONValue *current = &root;
    const QStringList steps = path.split(QLatin1Char('.'));
    for (const QString &step : steps) {
        if (!current->is_object())
            return nullptr;
        const auto it = current->find(step.toStdString());
        if (it == current->end())
            return nullptr;
        current = &*it;
    }
    return current;
}

int ParseInteger(const QString &text)
{
    bool ok = false;
    const int result = text.toInt(&ok, 10);
    if (!ok || text.trimmed() != text)
        throw EJSONError(QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
    return result;
}

int ReadInteger(const TJSONValue &value)
{
    if (value.is_number_integer() || value.is_string())
        return ParseInteger(ValueText(value));
    throw EJSONError(
        QStringLiteral("'%1' is not a valid integer value").arg(QString::fromStdString(value.dump())).toStdString());
}

} // namespace vantjson
