// A folder whose code has not been written yet still builds as a library.
