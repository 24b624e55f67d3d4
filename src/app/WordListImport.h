#pragma once

#include <QString>

// What --importer-mots printed and how the program ends.
struct WordListImportResult
{
    int exitCode = 0;  // 0 when at least one word was kept and written, else 2
    QString output;    // for standard output: the skipped words, then how many were kept
    QString error;     // for standard error: why nothing was written
};

// Reads the teacher's text file of words and writes the kept six-letter words as the word
// list of the play folder, which the game then draws from instead of the shipped list. An
// existing list is replaced only once the new one is complete on the disk, and left as it
// was whenever nothing is written.
WordListImportResult importWordList(const QString &sourcePath, const QString &folder);
