#pragma once
// What this edition registers at start-up: the job creator "CopyConvert",
// the connection-configuration creators "MySQL" and "Oracle", and the hook
// that reads database error codes from exceptions. Executables install it
// with setEditionRegistration(&registerEdition) before startUp().

void registerEdition();
