#include "PinyinCode.h"

namespace corvanta {

QChar pinyinInitial(unsigned)
{
    return u'*';
}

QString pinyinCode(const QString& name)
{
    return name;
}

} // namespace corvanta
