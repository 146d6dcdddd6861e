#ifndef WIDGET_H
#define WIDGET_H

#include <QObject>
#include <functional>
#include "base.h"

namespace ui { namespace detail {
struct Helper { int x; };
} }

template <typename T, int N = 4>
class RingBuffer
{
public:
    RingBuffer() = default;
    void push(const T &value) { m_items[m_head++ % N] = value; }
    T pop();
    bool empty() const noexcept { return m_head == m_tail; }
private:
    T m_items[N];
    int m_head = 0, m_tail = 0;
};

class Q_DECL_EXPORT Widget final : public QObject, private Base
{
    Q_OBJECT
public:
    explicit Widget(QObject *parent = nullptr);
    ~Widget() override;
    enum class State { Idle, Busy };
    State state() const { return m_state; }
    Widget &operator=(const Widget &) = delete;
    bool operator==(const Widget &other) const;
signals:
    void changed(int value);
public slots:
    void refresh();
private:
    State m_state = State::Idle;
    std::function<void(int)> m_callback;
    struct { int a, b; } m_pair;
};

#endif
