#version 120
uniform sampler2D testTexture;
uniform sampler2DShadow shadowMap;
varying vec4 shadowCoord;
varying vec3 ambientLight;
varying vec3 directLight;

// 1 where the light reaches the fragment, 0 where something nearer to it casts a shadow.
float lightVisibility() {
    // Behind the light or outside its view the map knows no occluder.
    if (shadowCoord.w <= 0.0) return 1.0;
    vec3 coord = shadowCoord.xyz / shadowCoord.w;
    if (any(lessThan(coord, vec3(0.0))) || any(greaterThan(coord, vec3(1.0)))) return 1.0;
    return shadow2D(shadowMap, coord).r;
}

void main() {
    vec4 texel = texture2D(testTexture, gl_TexCoord[0].st);
    vec3 light = ambientLight + directLight * lightVisibility();
    gl_FragColor = vec4(texel.rgb * light, texel.a * gl_FrontMaterial.diffuse.a);
}
