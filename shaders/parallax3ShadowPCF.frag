#version 120
uniform sampler2D testTexture;
uniform sampler2DShadow shadowMap;
uniform sampler2D HeightTexture;
varying vec4 shadowCoord;
varying vec3 viewInTangentSpace;
varying vec3 normal;
varying vec3 eyePos;

// GL's default light model: the viewer sits at infinity along +z in eye space.
const vec3 kViewer = vec3(0.0, 0.0, 1.0);

// Share of the neighbourhood that the light reaches: nine depth comparisons one
// texel apart, each itself bilinearly filtered, soften the shadow's edge.
const float kTexel = 1.0 / 1024.0; // the engine's shadow-map size

float lightVisibility() {
    // Behind the light or outside its view the map knows no occluder.
    if (shadowCoord.w <= 0.0) return 1.0;
    vec3 coord = shadowCoord.xyz / shadowCoord.w;
    if (any(lessThan(coord, vec3(0.0))) || any(greaterThan(coord, vec3(1.0)))) return 1.0;
    float sum = 0.0;
    for (int y = -1; y <= 1; ++y)
        for (int x = -1; x <= 1; ++x)
            sum += shadow2D(shadowMap, coord + vec3(float(x) * kTexel, float(y) * kTexel, 0.0)).r;
    return sum / 9.0;
}

// GL_LIGHT0 as fixed function lights a fragment; the shadow dims only the direct part.
void lightFragment(vec3 n, out vec3 ambient, out vec3 diffuse, out vec3 specular) {
    vec4 lightPos = gl_LightSource[0].position;
    vec3 toLight = lightPos.xyz - eyePos * lightPos.w;
    float dist = length(toLight);
    toLight /= dist;
    float attenuation = lightPos.w == 0.0
                            ? 1.0
                            : 1.0 / (gl_LightSource[0].constantAttenuation +
                                     dist * (gl_LightSource[0].linearAttenuation +
                                             dist * gl_LightSource[0].quadraticAttenuation));
    float nDotL = max(dot(n, toLight), 0.0);
    ambient = gl_FrontLightModelProduct.sceneColor.rgb +
              gl_FrontLightProduct[0].ambient.rgb * attenuation;
    diffuse = gl_FrontLightProduct[0].diffuse.rgb * (nDotL * attenuation);
    specular = vec3(0.0);
    if (nDotL > 0.0) {
        vec3 halfway = normalize(toLight + kViewer);
        specular = gl_FrontLightProduct[0].specular.rgb *
                   (pow(max(dot(n, halfway), 1e-4), gl_FrontMaterial.shininess) * attenuation);
    }
}

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
    vec3 ambient, diffuse, specular;
    lightFragment(normalize(normal), ambient, diffuse, specular);
    float visibility = lightVisibility();
    vec4 texel = texture2D(testTexture, parallaxTexCoord());
    gl_FragColor = vec4(texel.rgb * (ambient + diffuse * visibility) + specular * visibility,
                        texel.a * gl_FrontMaterial.diffuse.a);
}
