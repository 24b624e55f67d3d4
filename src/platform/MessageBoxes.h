#pragma once

#include <QString>

enum class BoxButtons { Ok, OkCancel };
enum class BoxIcon { None, Information, Exclamation, Question, Stop };
enum class BoxAnswer { Ok, Cancel };

// Modal message boxes with French button texts ("OK", "Annuler").
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    virtual BoxAnswer show(const QString &text, const QString &title, BoxButtons buttons,
                           BoxIcon icon) = 0;
};
