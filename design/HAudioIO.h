#pragma once

#include "design/HNode.h"

// An input or output card; its template is found by its module name in the
// platform's module dictionary.
class HAudioIO : public HNode
{
public:
    enum Direction
    {
        Input = 1,
        Output = 2,
        Link = 3
    };

    HAudioIO();
    HAudioIO(const QString &moduleName, int direction);
    ~HAudioIO() override;

    QString templatePath(const QString &parameterName) override;
    QString category() const override;
    void dump() const override;

    QString moduleName() const { return m_moduleName; }
    void setModuleName(const QString &name) { m_moduleName = name; }
    void setCategory(const QString &category) { m_category = category; }
    int direction() const { return m_direction; }
    void setDirection(int direction) { m_direction = direction; }

protected:
    QString m_moduleName;
    QString m_category;
    int m_direction = 0;
};
