#pragma once

#include "app/ini_file.h"

#include <memory>

namespace billprint {

// Diagnostics written to Debug.ini, section "debug".
class DebugLog
{
public:
    explicit DebugLog(QString path) : m_path(std::move(path)) {}

    // Writes key = text.
    void DebugOut(const QString &key, const QString &text);
    // Writes prefix-N = text with a counter of this run (first value 1),
    // so repeated diagnostics never overwrite each other.
    void DebugOutN(const QString &prefix, const QString &text);

    IniFile &OpenDebugInif();

private:
    QString m_path;
    std::unique_ptr<IniFile> m_ini;
    int m_counter = 0;
};

} // namespace billprint
