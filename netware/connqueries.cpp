#include "netware/connqueries.h"

using namespace nwclient;

bool IsNDSConn(ConnHandle handle)
{
    uint32_t flag = 0;
    return getDirectoryServicesFlag(handle, flag) == nwproto::cc::Success && flag != 0;
}

bool IsNDSConnRef(ConnRef ref)
{
    uint32_t flag = 0;
    return getDirectoryServicesFlagByRef(ref, flag) == nwproto::cc::Success && flag != 0;
}

QString TreeNameOf(ConnHandle handle)
{
    QString tree;
    if (getTreeName(handle, tree) != nwproto::cc::Success)
        return {};
    const qsizetype zero = tree.indexOf(QChar(0));
    return (zero >= 0 ? tree.left(zero) : tree).left(32);
}

NWCCODE TConnHandleScope::open(ConnRef ref)
{
    close();
    const NWCCODE code = openConnByReference(ref, m_handle);
    m_open = code == nwproto::cc::Success;
    return code;
}

void TConnHandleScope::close()
{
    if (m_open)
        closeConn(m_handle);
    m_open = false;
}
