#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

// Lays a dialog out as its template describes it: every control with its id, and
// positions and sizes in dialog units, converted from the dialog font's average
// character width (a quarter of it per unit across) and height (an eighth per unit down).
class DialogTemplate {
public:
    DialogTemplate(QWidget *dialog, int width, int height);

    QRect toPixels(const QRect &dialogUnits) const;

    // Places the control; an id of 0 stands for the controls the template leaves unnamed.
    template <typename T>
    T *place(int id, T *control, const QRect &dialogUnits)
    {
        placeWidget(id, control, dialogUnits);
        return control;
    }

    // The control with this id in the dialog, or null.
    static QWidget *control(const QWidget *dialog, int id);
    template <typename T>
    static T *control(const QWidget *dialog, int id)
    {
        return qobject_cast<T *>(control(dialog, id));
    }

private:
    void placeWidget(int id, QWidget *control, const QRect &dialogUnits);

    QWidget *dialog_;
    int baseWidth_;
    int baseHeight_;
};
