// Public: no Qt type.
class QWidget;
