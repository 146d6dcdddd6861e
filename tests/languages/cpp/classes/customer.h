#pragma once

#include "entity.h"
#include <vector>
#include <memory>

namespace billing {

struct Address {
    std::string street;
    std::string city;
};

/* A customer with the invoices
   that were sent to it. */
class Customer : public Entity
{
public:
    Customer(int id, const std::string &name);

    bool save();
    std::string describe() const override;
    double balance() const;

    class Invoice
    {
    public:
        double amount = 0.0;
        bool paid() const { return amount <= 0.0; }
    };

private:
    std::string m_name;
    Address m_address;
    std::vector<Invoice> m_invoices;
};

} // namespace billing
