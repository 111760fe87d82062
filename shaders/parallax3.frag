#version 120
uniform sampler2D testTexture;
uniform sampler2D HeightTexture;
varying vec3 viewInTangentSpace;

const float kHeightScale = 0.04;

// Offset-limited parallax: a height of 0 lies on the polygon. A model drawn without a
// face frame has a zero view vector and so keeps its texture coordinates.
vec2 parallaxTexCoord() {
    vec2 uv = gl_TexCoord[0].st;
    float len = length(viewInTangentSpace);
    if (len == 0.0) return uv;
    float height = texture2D(HeightTexture, uv).r;
    return uv + viewInTangentSpace.xy * (height * kHeightScale / len);
}

void main() {
    gl_FragColor = texture2D(testTexture, parallaxTexCoord()) * gl_Color;
}
