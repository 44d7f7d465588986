#pragma once

// A seam for tests of the session's failure handling, not exported from the
// module: hook runs inside each request's guard, after the request is
// prepared; it may throw. Null removes it.
void SetSessionRequestHook(void (*hook)());
