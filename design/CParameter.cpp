#include "design/CParameter.h"

CParameter::CParameter() = default;

CParameter::CParameter(const QString &text, const QString &type) : m_text(text), m_type(type) {}

CParameter::~CParameter() = default;

QString CParameter::iconPath() const
{
    return iconPathForType(m_type);
}

QString CParameter::iconPathForType(const QString &type)
{
    if (type == QLatin1String("Button"))
        return QStringLiteral(":/images/ButtonIcon.png");
    if (type == QLatin1String("DropList"))
        return QStringLiteral(":/images/DropListIcon.png");
    if (type == QLatin1String("Slider"))
        return QStringLiteral(":/images/SliderIcon.png");
    if (type == QLatin1String("ParameterSet"))
        return QStringLiteral(":/images/ParameterSetIcon.png");
    return QString();
}
