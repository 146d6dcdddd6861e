// The nightly run: every customer is saved and described.
#include "customer.h"
#include "util/dbutil.h"

#include <iostream>
#include <memory>

#define LOG(text) std::cerr << text << '\n'

using billing::Customer;

static const char *Usage = R"(usage: nightly [--dry-run]
  "quotes" and // slashes stay in the literal
)";

namespace {

int countCustomers()
{
    return db_count("CUSTOMER");
}

void report(const Customer &customer)
{
    std::cout << customer.describe() << std::endl;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::string(argv[1]) == "--help") {
        std::cout << Usage;
        return 0;
    }
    auto customer = std::make_unique<Customer>(1, "Smith & Sons \"Ltd\"");
    Customer other(2, "Jones");
    LOG("saving");
    customer->save();
    other.save();
    other.touch();
    report(other);
    const int count = countCustomers();
    return count > 0 ? 0 : 1;
}
