// Base of everything the billing system stores.
#ifndef ENTITY_H
#define ENTITY_H

#include <string>

namespace billing {

class Entity
{
public:
    explicit Entity(int id) : m_id(id) {}
    virtual ~Entity() = default;

    int id() const { return m_id; }
    virtual std::string describe() const;
    void touch();

protected:
    int m_id;
};

} // namespace billing

#endif
