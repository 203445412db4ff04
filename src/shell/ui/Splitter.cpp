#include "shell/ui/Splitter.h"

#include <QMouseEvent>

using namespace Qt::StringLiterals;

Splitter::Splitter(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(u"Picture2"_s);
    setAccessibleName(u"目录与试题区之间的分隔条"_s);
    setCursor(Qt::SizeHorCursor);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(200, 212, 228));
    setPalette(pal);
}

void Splitter::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() == Qt::LeftButton)
        emit dragged(event->position().x());
}
