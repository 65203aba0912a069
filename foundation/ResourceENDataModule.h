#pragma once
// Data module holding the English string tables ("<module>_EN"), one
// TKwStringsComponent child per shipped table; registered with the resource
// manager at start-up when EN is the start language.

#include <QObject>

class TDataModule_ResourceEN : public QObject {
    Q_OBJECT
public:
    explicit TDataModule_ResourceEN(QObject* parent = nullptr);
};
