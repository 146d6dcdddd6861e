#include "customer.h"
#include "util/dbutil.h"

#include <sstream>

namespace billing {

Customer::Customer(int id, const std::string &name)
    : Entity(id), m_name(name)
{
}

bool Customer::save()
{
    const char *sql = "UPDATE CUSTOMER SET NAME = ? WHERE ID = ?";
    touch();
    if (!db_execute(sql, m_id))
        return false;
    return db_execute("INSERT INTO CUSTOMER_HISTORY (ID) VALUES (?)", m_id) != 0;
}

std::string Customer::describe() const
{
    std::ostringstream out;
    out << "Customer " << m_name << " owes " << balance();
    return out.str();
}

double Customer::balance() const
{
    double total = 0;
    for (const Invoice &invoice : m_invoices)
        if (!invoice.paid())
            total += invoice.amount;
    return total;
}

} // namespace billing
