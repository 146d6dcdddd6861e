#include "widget.h"
#include <algorithm>

#if defined(_WIN32)
static int platform() { return 1; }
#else
static int platform() { return 2; }
#endif

template <typename T, int N>
T RingBuffer<T, N>::pop()
{
    return m_items[m_tail++ % N];
}

Widget::Widget(QObject *parent)
    : QObject(parent), m_callback([this](int v) { emit changed(v); })
{
    connect(this, &Widget::changed, this, &Widget::refresh);
    int values[] = {1, 2, 3};
    std::sort(std::begin(values), std::end(values));
    for (int v : values) {
        if (v > 1) {
            m_callback(v);
        }
    }
}

Widget::~Widget() = default;

bool Widget::operator==(const Widget &other) const
{
    return m_state == other.m_state;
}

void Widget::refresh()
{
    auto lambda = [&]() {
        helperFunction(platform());
    };
    lambda();
    switch (m_state) {
    case State::Idle: { m_state = State::Busy; break; }
    default: break;
    }
    do { platform(); } while (false);
}

namespace {
void helperFunction(int x)
{
    (void)x;
}
}

extern "C" int c_entry(void)
{
    return platform();
}
