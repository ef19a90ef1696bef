#include "LockTestSupport.h"

#include <QElapsedTimer>
#include <QThread>

namespace lockstest {

bool LockTest::lockWithin(dbkit::DbLogin &login, const QVariantList &codes, int seconds)
{
    QElapsedTimer timer;
    timer.start();
    while (!lock(login, codes)) {
        if (timer.elapsed() > seconds * 1000LL)
            return false;
        QThread::msleep(50);
    }
    return true;
}

std::string engineLabel(const ::testing::TestParamInfo<testsupport::TestEngine> &info)
{
    return testsupport::engineName(info.param);
}

} // namespace lockstest
