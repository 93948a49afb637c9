#pragma once
// What the player sees of a form: its persistent image with its labels and picture boxes on it,
// cut to its outline.

#include <QPainter>
#include <QRect>

class Form;

// Paints the form inside clip (form pixel coordinates).
void ComposeForm(const Form& form, QPainter& painter, const QRect& clip);
