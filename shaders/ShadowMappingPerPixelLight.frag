#version 120
uniform sampler2D testTexture;
uniform sampler2DShadow shadowMap;
varying vec4 shadowCoord;
varying vec3 normal;
varying vec3 eyePos;

// GL's default light model: the viewer sits at infinity along +z in eye space.
const vec3 kViewer = vec3(0.0, 0.0, 1.0);

// 1 where the light reaches the fragment, 0 where something nearer to it casts a shadow.
float lightVisibility() {
    // Behind the light or outside its view the map knows no occluder.
    if (shadowCoord.w <= 0.0) return 1.0;
    vec3 coord = shadowCoord.xyz / shadowCoord.w;
    if (any(lessThan(coord, vec3(0.0))) || any(greaterThan(coord, vec3(1.0)))) return 1.0;
    return shadow2D(shadowMap, coord).r;
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

void main() {
    vec3 ambient, diffuse, specular;
    lightFragment(normalize(normal), ambient, diffuse, specular);
    float visibility = lightVisibility();
    vec4 texel = texture2D(testTexture, gl_TexCoord[0].st);
    gl_FragColor = vec4(texel.rgb * (ambient + diffuse * visibility) + specular * visibility,
                        texel.a * gl_FrontMaterial.diffuse.a);
}
