// The system's error texts, as a Russian desktop words them. Runtime layer.
#include <cerrno>
#include <cstring>

#include "sysutils.h"

namespace {

// What a Russian desktop says for the errors the serial port and file paths meet, in its words and
// without the closing full stop, as the program shows them.
const struct {
    int Code;
    const char* Text;
} kErrorTexts[] = {
    {EPERM, "Отказано в доступе"},
    {ENOENT, "Не удается найти указанный файл"},
    {EINTR, "Прерван системный вызов"},
    {EIO, "Запрос не был выполнен из-за ошибки ввода/вывода на устройстве"},
    {ENXIO, "Устройство не готово"},
    {EBADF, "Неверный дескриптор"},
    {EAGAIN, "Ресурс временно недоступен"},
    {ENOMEM, "Недостаточно памяти для обработки команды"},
    {EACCES, "Отказано в доступе"},
    {EBUSY, "Запрошенный ресурс занят"},
    {EEXIST, "Файл существует"},
    {EXDEV, "Системе не удается переместить файл на другой диск"},
    {ENODEV, "Устройство не найдено"},
    {ENOTDIR, "Системе не удается найти указанный путь"},
    {EISDIR, "Указанный путь является папкой"},
    {EINVAL, "Параметр задан неверно"},
    {ENFILE, "Слишком много открытых файлов"},
    {EMFILE, "Слишком много открытых файлов"},
    {ENOTTY, "Неверная функция"},
    {EFBIG, "Файл слишком велик"},
    {ENOSPC, "Недостаточно места на диске"},
    {EROFS, "Носитель защищен от записи"},
    {EPIPE, "Канал был закрыт"},
    {ENAMETOOLONG, "Имя файла или его расширение имеет слишком большую длину"},
    {ENOTEMPTY, "Папка не пуста"},
    {ELOOP, "Имя файла не может быть разрешено системой"},
    {ENODATA, "Нет данных"},
    {EOPNOTSUPP, "Запрос не поддерживается"},
    {ETIMEDOUT, "Превышен таймаут семафора"},
    {ECANCELED,
     "Операция ввода/вывода была прервана из-за завершения потока команд или по запросу приложения"},
};

} // namespace

std::string SysErrorMessage(unsigned code) {
    for (const auto& e : kErrorTexts)
        if (unsigned(e.Code) == code)
            return e.Text;
    // A rarer code keeps the system's own text; strerrordesc_np answers null for a code the system
    // has no text for (strerror would invent "Unknown error N").
    const char* text = code <= 0x7FFFFFFF ? ::strerrordesc_np(int(code)) : nullptr;
    return text ? std::string(text) : std::string();
}
