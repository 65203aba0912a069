#pragma once
// Start-up and shutdown of the process-wide objects, in their fixed order,
// before any window exists.

#include <QString>

class QObject;

// Registers what the layers above the shell provide (creators, hooks); the
// executables install it before startUp, which calls it after the registry
// and the resource modules exist.
using TEditionRegistration = void (*)();
void setEditionRegistration(TEditionRegistration registration);

// Creates the process-wide objects in order. Safe to call once per process
// (again only after shutDown).
void startUp();
// Destroys them in reverse order; safe after a partial start-up.
void shutDown();
bool isStartedUp();

// The resource data module holding the string tables of a language ("CN",
// "EN"), or none before start-up or for another language.
QObject* resourceDataModule(const QString& language);

// Makes the language current and registers its string tables.
void selectLanguage(const QString& language);
