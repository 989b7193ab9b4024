#include <map>
#include <QWidget>
