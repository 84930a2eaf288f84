#pragma once
// A later attempt to reach the sound server, on its loop's wall clock: a
// retry is not a deadline.
#include <pulse/pulseaudio.h>

namespace quimbal {

inline pa_time_event* ReintentarEn(pa_threaded_mainloop* bucle, pa_usec_t ms,
                                   pa_time_event_cb_t llamada, void* datos) {
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(bucle);
    timeval tv{};
    pa_gettimeofday(&tv);
    pa_timeval_add(&tv, ms * PA_USEC_PER_MSEC);
    return api->time_new(api, &tv, llamada, datos);
}

} // namespace quimbal
