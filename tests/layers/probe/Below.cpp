// The lowest folder, using nothing above it; an inline function is defined in every user.
inline int layerProbeInline(int value)
{
    return value + 3;
}

int layerProbeBelow(int value)
{
    return layerProbeInline(value);
}
