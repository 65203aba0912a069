#pragma once
// Data module holding the Chinese string tables ("<module>_CN"), one
// TKwStringsComponent child per shipped table; registered with the resource
// manager at start-up when CN is the start language.

#include <QObject>

class TDataModule_ResourceCN : public QObject {
    Q_OBJECT
public:
    explicit TDataModule_ResourceCN(QObject* parent = nullptr);
};
