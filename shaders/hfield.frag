#version 120
uniform sampler2D texA;
uniform sampler2D texB;
uniform sampler2D texC;
uniform sampler2D texmap;
// A terrain without a light map leaves unit 4 empty, and sampling it would turn the
// ground black; the light map is applied only when its owner switches it on
// ("lightMap" = 4, "useLightMap" = true).
uniform sampler2D lightMap;
uniform bool useLightMap;

void main() {
    // Red, green and blue of the map weigh A, B and C; filtering blends the borders.
    vec3 weight = texture2D(texmap, gl_TexCoord[2].st).rgb;
    vec3 ground = texture2D(texA, gl_TexCoord[0].st).rgb * weight.r +
                  texture2D(texB, gl_TexCoord[1].st).rgb * weight.g +
                  texture2D(texC, gl_TexCoord[3].st).rgb * weight.b;
    if (useLightMap) ground *= texture2D(lightMap, gl_TexCoord[4].st).r;
    gl_FragColor = vec4(ground, 1.0);
}
