#include "app/toolkit/event_queue.h"

#include <algorithm>
#include <deque>

#include <sys/wait.h>

#include "app/toolkit/gadget_id.h"

namespace {

std::deque<ProgramEvent> queue;
bool blocked = false;

}  // namespace

ProgramEvent canvas_event(GadgetEventType type, double x, double y, int notches)
{
    ProgramEvent event;
    event.kind = EventKind::Gadget;
    event.id = Canvas;
    event.type = type;
    event.x = x;
    event.y = y;
    event.notches = notches;
    return event;
}

ProgramEvent child_ended_event(int pid, int wait_status)
{
    ProgramEvent event;
    event.kind = EventKind::ChildEnded;
    event.id = pid;
    event.window = no_window;
    event.failed = !WIFEXITED(wait_status) || WEXITSTATUS(wait_status) != 0;
    return event;
}

bool same_event(const ProgramEvent& a, const ProgramEvent& b)
{
    return a.kind == b.kind && a.id == b.id && a.window == b.window && a.type == b.type;
}

int post_event(const ProgramEvent& event)
{
    if (event.kind == EventKind::None) return 0;
    if (blocked && event.window == main_window_number) return 0;
    if (!queue.empty() && same_event(queue.back(), event)) {
        ProgramEvent& waiting = queue.back();
        waiting.x = event.x;
        waiting.y = event.y;
        waiting.notches += event.notches;
        return 0;
    }
    queue.push_back(event);
    return 1;
}

bool take_event(ProgramEvent& event)
{
    if (queue.empty()) return false;
    event = queue.front();
    queue.pop_front();
    return true;
}

std::size_t queued_event_count()
{
    return queue.size();
}

void discard_events_after(std::size_t count)
{
    if (queue.size() <= count) return;
    const auto first = queue.begin() + static_cast<std::ptrdiff_t>(count);
    queue.erase(
        std::remove_if(first, queue.end(), [](const ProgramEvent& e) { return e.window == main_window_number; }),
        queue.end());
}

void drop_timer_events(int number)
{
    std::erase_if(queue, [number](const ProgramEvent& e) { return e.kind == EventKind::Timer && e.id == number; });
}

void clear_event_queue()
{
    queue.clear();
}

void set_main_window_blocked(bool b)
{
    blocked = b;
}

bool main_window_blocked()
{
    return blocked;
}
