// placeholder until the first sources arrive
